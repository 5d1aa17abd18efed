-- The Modified sample database: the shop of original.sql some weeks later (see there for what
-- changed). Every statement ends with ";" and no text holds one, so the statements can be run
-- one by one.

CREATE TABLE customers (
    id INTEGER PRIMARY KEY,
    name VARCHAR(60) NOT NULL,
    city VARCHAR(40),
    email VARCHAR(80),
    phone VARCHAR(20)
);

CREATE TABLE products (
    sku VARCHAR(12) PRIMARY KEY,
    title VARCHAR(80) NOT NULL,
    price DECIMAL(10, 2),
    stock INTEGER
);

CREATE TABLE orders (
    order_id INTEGER PRIMARY KEY,
    customer_id INTEGER NOT NULL REFERENCES customers (id),
    sku VARCHAR(12) NOT NULL REFERENCES products (sku),
    quantity INTEGER NOT NULL,
    placed DATE
);

CREATE TABLE reviews (
    review_id INTEGER PRIMARY KEY,
    sku VARCHAR(12) NOT NULL REFERENCES products (sku),
    customer_id INTEGER REFERENCES customers (id),
    stars INTEGER NOT NULL,
    comment TEXT
);

CREATE VIEW customer_orders AS
    SELECT o.order_id, c.name AS customer, p.title AS product, o.quantity
    FROM orders o
    JOIN customers c ON c.id = o.customer_id
    JOIN products p ON p.sku = o.sku;

INSERT INTO customers VALUES (1, 'Ann Larsen', 'Oslo', 'ann@example.com', '+47 22 00 00 01');
INSERT INTO customers VALUES (2, 'Bob O''Brien', 'Cork', NULL, NULL);
INSERT INTO customers VALUES (3, 'Chloé Martin', 'Lyon', 'chloe@example.com', NULL);
INSERT INTO customers VALUES (5, 'Eva Novak', 'Prague', NULL, '+420 2 0000 0005');
INSERT INTO customers VALUES (6, 'Farid Haddad', 'Casablanca', 'farid@example.com', NULL);

INSERT INTO products VALUES ('TEA-01', 'Green tea, 100 g', 4.5, 120);
INSERT INTO products VALUES ('TEA-02', 'Earl Grey, 100 g', 5.75, 80);
INSERT INTO products VALUES ('MUG-01', 'Stoneware mug', 12.0, 35);
INSERT INTO products VALUES ('POT-01', 'Teapot "Nordic", 1 l', 29.9, 8);
INSERT INTO products VALUES ('CUP-02', 'Espresso cups, set of 2', 15.0, 20);

INSERT INTO orders VALUES (1001, 1, 'TEA-01', 2, '2024-03-01');
INSERT INTO orders VALUES (1002, 2, 'MUG-01', 1, '2024-03-02');
INSERT INTO orders VALUES (1003, 3, 'POT-01', 1, '2024-03-05');
INSERT INTO orders VALUES (1004, 1, 'TEA-02', 3, '2024-03-09');
INSERT INTO orders VALUES (1005, 6, 'CUP-02', 1, '2024-03-14');

INSERT INTO reviews VALUES (1, 'POT-01', 3, 5, 'Pours without a drip.');
INSERT INTO reviews VALUES (2, 'MUG-01', 2, 4, NULL);
