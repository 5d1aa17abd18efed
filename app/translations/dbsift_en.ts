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
    <name>dbsift::DifferenceModel</name>
    <message>
        <source>(Null)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only in Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only in Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original: %1 / Modified: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Difference</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original #</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified #</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copies differ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 : %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copies of this record: %1 in the Original, %2 in the Modified; the Original&apos;s first is shown.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::DifferenceWalk</name>
    <message>
        <source> ORIGINAL ITEM NUMBER = </source>
        <extracomment>An entry of the difference list reads &quot;[table] ORIGINAL ITEM NUMBER = 12&quot;; the record number is read back from after &quot;= &quot;, so the marker must end with &quot;= &quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> MODIFIED ITEM NUMBER = </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::EveryTableView</name>
    <message>
        <source>Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only in Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only in Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Identical</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paired by</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click a table, or press Return, to see its records side by side</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not compared: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(no key)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compared columns: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 table compared</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 tables compared</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. No differences.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 with differences; %3 not compared.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled: the tables after the last one listed were not compared.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write these counts as an HTML report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Script...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the SQL script that brings every table compared into line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bring every table compared into line in the database, in one step that Undo Copy takes back</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::HtmlReport</name>
    <message>
        <source>Data Difference report for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data Differences for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item#</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>only in Original: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>only in Modified: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tables compared: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>with differences: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not compared: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::PairedView</name>
    <message>
        <source>Changed columns only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All differences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the selected rows, tab-separated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the rows shown as a CSV file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changed: %1   Only in Original: %2   Only in Modified: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   (%1 shown)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export the differences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   Copies differ: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Script...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose every row shown (narrow them by kind or search first)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the SQL script that brings the chosen rows into line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make the changes of the chosen rows in the database, in one step that Undo Copy takes back</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n chosen</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>dbsift::SyncDirectionBox</name>
    <message>
        <source>Make the Modified like the Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make the Original like the Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database the records are brought into line in</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmComparisonSettings</name>
    <message>
        <source>Comparison Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When values are equal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ignore letter case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ignore blanks at the start and end of texts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A Null equals the empty text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0: numbers compared exactly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exactly as written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whole seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Milliseconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microseconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reals and decimals equal within:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare times to:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pair records by the columns:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Never compare the columns:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original records where:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified records where:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Row filters (show a table&apos;s records first)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Row filters of table %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The tolerance must be a number of 0 or more, such as 0.005.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write the columns&apos; names separated by commas, each once.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Original&apos;s row filter cannot be used: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Modified&apos;s row filter cannot be used: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none; for example updated_at, created_by</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Field types of one family are the same</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Integers of any width, texts of any kind and length, ...: SQLite INTEGER and PostgreSQL bigint, TEXT and varchar(40)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>each table&apos;s own key</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmCreateFile</name>
    <message>
        <source>Save Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>htm (*.htm)|*.htm|All (*.*)|*.*|html (*.html)|*.html</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>XML(*.xml)|*.xml|All (*.*)|*.*</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmDispMessage</name>
    <message>
        <source>To do a data compare on a table do the following. <byte value="xd"/>1) Select a table from the Original or Modified list. <byte value="xd"/> 2) Select Field(s) that you would like to compare from the &apos;Field List&apos; Dialog Box.<byte value="xd"/>  3) Click on the compare button in &apos;Field List&apos; Dialog Box&apos;<byte value="xd"/></source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hint: How to Use %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Never Show this Message Again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmFieldListForDataCompare</name>
    <message>
        <source>Field Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select what fields to compare from the list below. Use the CTRL key to select multiple fields.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Field List for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no compatible fields to compare for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (not in the Modified database)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (not in the Original database)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (its type cannot be compared)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not compared: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pair records by:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The key column %1 is not among the fields selected to compare.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the table&apos;s own key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The records of the two sides that hold the same key are paired. Pick a field, or type several separated by commas. Left empty, the table&apos;s primary key pairs them or, without one, a unique key whose fields cannot be Null.</source>
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
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Summary Of Changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Change Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create HTML Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy top to bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy bottom to top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no differences to display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No changes found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DB Object Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Field Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item#</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total Records =</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original: %1 / Modified: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report could not be written to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report written to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report was written to %1 but could not be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no differences to report.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click and Drag to move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swap the Original and Modified Documents (F9)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show differences in a report (F2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh Display and show differences (F5)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Select Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Original Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Modified Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Run Compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Create Data Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help &amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Run Structure Compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Run Data Compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Create Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;First</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original database:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified database:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The comparison could not read the databases.

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The help page could not be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2
Compares two relational databases and helps bring them into line.
Engine: Sifkit %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select a table and do a data compare.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Field Name = %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Data Type = %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Change Type = %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No changes found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 structural changes found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The master and source databases must be selected first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Run the comparison again (F5 or a click on the table) to see the new state.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a differing record first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record was not copied: nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record could not be copied to the Modified database: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record could not be copied to the Original database: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record copied to the Modified database.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record copied to the Original database.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record was not overwritten: nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Modified record could not be overwritten: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Original record could not be overwritten: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Modified record was overwritten (undo entry %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Original record was overwritten (undo entry %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This update has been rolled back already.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The rollback file %1 is missing: nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The rollback file %1 does not belong to table %2: nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The rollback file %1 has been written again by a later update, so this entry can no longer be rolled back: nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put the record of table %1 on the Original database back as it was before the update?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put the record of table %1 on the Modified database back as it was before the update?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Roll Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Roll back failed: nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record could not be rolled back: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rolled back %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The records of %1 could not be compared.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The undo entry could not be written to the settings file (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Compare Data of Selected Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo Copy...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a table in either tree first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password of user %1 for %2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: compared exactly; the database&apos;s collation would call &apos;Paris&apos; and &apos;PARIS&apos; equal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paired View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A database file is locked by another program: waited %1 of %2 s. Cancel stops.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose an Original and a Modified database first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparing the records of %1 (table %2 of %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The tables of the two databases could not be listed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare Data of &amp;Every Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Comparison...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent Co&amp;mparisons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sa&amp;ve Comparison...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recent comparisons could not be saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Comparison</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The comparison could not be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The table %1 of the comparison is not in both databases.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Values compared with %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records compared where %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original records compared where %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified records compared where %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose an Original and a Modified database first: a comparison names both.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Comparison</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The comparison could not be saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparison saved to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Result as JSON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exporting the result...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The result could not be exported: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The result could not be written to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result exported to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparison &amp;Settings...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparisons|*.json|All Files|*</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Result as JSON...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no compatible fields to compare for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every record of %1 has an equal record in the other database, but not as many copies of every one: the Paired View lists the records whose copies differ.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inserts: %1, updates: %2, deletes: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Makes the Modified database %1 like the Original.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Makes the Original database %1 like the Modified.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply these changes to the Modified database %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply these changes to the Original database %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This deletes %1 rows of the database.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo Copy can take the whole apply back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The changes were not applied: nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The changes could not be applied: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The changes were applied, but the undo entry could not be written to the settings file (%1). The undo file %2 takes them back: dbsift-compare --undo %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applied: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applied: %1 (undo entry %2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The undo file %1 cannot be used: %2 Nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The undo file %1 is not the one this entry&apos;s apply wrote: nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take back the apply &quot;%1&quot;?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The apply could not be taken back: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The changes were rolled back, but the settings file could not note it (%1): the undo list still offers %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No script can be written for these changes: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The records need no change.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmMainMDI</name>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Percent Complete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the running comparison (Esc)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmOleDB</name>
    <message>
        <source>Select Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SQLite (*.db *.sqlite *.sqlite3)|*.db;*.sqlite;*.sqlite3|MDB(*.MDB)|*.MDB|DBC (*.dbc)|*.dbc|All (*.*)|*.*</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmOptions</name>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Views/Queries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Structure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Differences Only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not show record structure when doing a data compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Record Structure Only if Different</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Always Show Record Structure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Original Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Modified Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Records to display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type the name of the file or click the &quot;...&quot; button to choose an existing one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click On Me to browse for a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Report Path and Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report File HTM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files|*.*</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmSelectConn</name>
    <message>
        <source>Select Databases To Compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Database by DSN or File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ODBC Data Source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Database File (OLEDB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter User ID and Password for Database if Required</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified database</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmSyncScript</name>
    <message>
        <source>Sync Script</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make these changes in the database, in one step that Undo Copy takes back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the sync script</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SQL scripts|*.sql|All files|*</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The script could not be saved to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dbsift::frmUndo</name>
    <message>
        <source>Roll Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  (rolled back)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the update to roll back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No updates recorded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Updates made with &quot;Copy Record&quot;, and changes applied from the Paired View. Choose one and press &quot;Roll Back&quot; to put the records back as they were before.</source>
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
