-- The Original sample database: a small shop. modified.sql holds the same shop some weeks
-- later. Between the two, in structure: suppliers exists here only, reviews there only,
-- customers gains a phone field and products.price becomes a decimal. In data: a customer
-- moves, one leaves, one loses an e-mail address (Null) and one joins; a price changes and a
-- product is added. Every statement ends with ";" and no text holds one, so the statements can
-- be run one by one.

CREATE TABLE customers (
    id INTEGER PRIMARY KEY,
    name VARCHAR(60) NOT NULL,
    city VARCHAR(40),
    email VARCHAR(80)
);

CREATE TABLE products (
    sku VARCHAR(12) PRIMARY KEY,
    title VARCHAR(80) NOT NULL,
    price REAL,
    stock INTEGER
);

CREATE TABLE orders (
    order_id INTEGER PRIMARY KEY,
    customer_id INTEGER NOT NULL REFERENCES customers (id),
    sku VARCHAR(12) NOT NULL REFERENCES products (sku),
    quantity INTEGER NOT NULL,
    placed DATE
);

CREATE TABLE suppliers (
    supplier_id INTEGER PRIMARY KEY,
    name VARCHAR(60) NOT NULL,
    country VARCHAR(40)
);

CREATE VIEW customer_orders AS
    SELECT o.order_id, c.name AS customer, p.title AS product, o.quantity
    FROM orders o
    JOIN customers c ON c.id = o.customer_id
    JOIN products p ON p.sku = o.sku;

INSERT INTO customers VALUES (1, 'Ann Larsen', 'Oslo', 'ann@example.com');
INSERT INTO customers VALUES (2, 'Bob O''Brien', 'Dublin', NULL);
INSERT INTO customers VALUES (3, 'Chloé Martin', 'Lyon', 'chloe@example.com');
INSERT INTO customers VALUES (4, 'David Kim', 'Seoul', 'david@example.com');
INSERT INTO customers VALUES (5, 'Eva Novak', 'Prague', 'eva@example.com');

INSERT INTO products VALUES ('TEA-01', 'Green tea, 100 g', 4.5, 120);
INSERT INTO products VALUES ('TEA-02', 'Earl Grey, 100 g', 5.25, 80);
INSERT INTO products VALUES ('MUG-01', 'Stoneware mug', 12.0, 35);
INSERT INTO products VALUES ('POT-01', 'Teapot "Nordic", 1 l', 29.9, 8);

INSERT INTO orders VALUES (1001, 1, 'TEA-01', 2, '2024-03-01');
INSERT INTO orders VALUES (1002, 2, 'MUG-01', 1, '2024-03-02');
INSERT INTO orders VALUES (1003, 3, 'POT-01', 1, '2024-03-05');
INSERT INTO orders VALUES (1004, 1, 'TEA-02', 3, '2024-03-09');

INSERT INTO suppliers VALUES (1, 'Leaf & Co', 'Japan');
INSERT INTO suppliers VALUES (2, 'Clayworks', 'Portugal');
