<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>dbsift::CommandLine</name>
    <message>
        <source>Compares two relational databases, an Original and a Modified one, and helps bring them into line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print this help and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the version and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Original database: a database file or dsn:NAME for an ODBC data source.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Modified database, likewise. The window opens with the databases given chosen and compared.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>at most two databases are taken, ORIGINAL and MODIFIED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (see %1 --help)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmMain</name>
    <message>
        <source>The Original database %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Modified database %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Original database %1 cannot be chosen: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Modified database %1 cannot be chosen: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::main</name>
    <message>
        <source>The sample databases could not be created: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
