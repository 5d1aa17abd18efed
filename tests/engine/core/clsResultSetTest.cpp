// SPDX-License-Identifier: MIT
#include <sifkit/SifkitError.h>
#include <sifkit/clsResultSet.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

TEST(clsResultSetTest, ToStringPlacesEachFieldUnderItsLabel) {
    clsResultSet item;
    item.setDatabaseObjName("T");
    item.setFieldName("F");
    item.setDataType("String");
    item.setFieldDefinedSize("40");
    item.setFieldActualSize("3");
    item.setDataValue("abc");
    item.setFieldCount(4);
    item.setRecordNumber(12);
    item.setRecordCount(-3);
    item.setChangeType("5");
    item.setIsFieldDesc(true);
    item.setIsDataValue(true);
    item.setPrimaryKey("id");
    item.setFKeyColumnName("fkcol");
    item.setFKeyPrimaryTable("pt");
    item.setFKeyPrimaryColName("pcol");
    item.setFKeyName("fk");
    item.setPKeyName("pk");
    EXPECT_EQ(
        item.toString(),
        "databaseObjName=T,fieldName=F,dataType=String,fieldDefinedSize=40,fieldActualSize=3,dataValue=abc,"
        "fieldCount=4,recordNumber=12,recordCount=-3,changeType=5,isFieldDesc=True,isDataValue=True,"
        "primaryKey=id,foreignKey=fkcol,fKeyPrimarytable=pt,fKeyPrimaryColumnName=pcol,fKeyName=fk,"
        "pKeyName=pk");
}

TEST(clsResultSetTest, TextThatIsNotA16BitNumberFailsAndKeepsTheOldValue) {
    clsResultSet item;
    item.setChangeType("3");
    for (const char* text : {"", "x", "5a", "40000", "1.5"})
        EXPECT_THROW(item.setChangeType(text), ConversionError) << text;
    EXPECT_EQ(item.getChangeType(), "3");
    EXPECT_THROW(item.setLength("Error index is greater then results returned"), ConversionError);
}

TEST(clsResultSetTest, InitializeValuesKeepsOnlyTheFieldCount) {
    clsResultSet item;
    item.setFieldCount(7);
    item.setFieldName("F");
    item.setChangeType("3");
    item.setIsDataValue(true);
    item.setShow(true);
    item.setRecordNumber(4);
    item.initializeValues();
    clsResultSet fresh;
    fresh.setFieldCount(7);
    EXPECT_EQ(item.toString(), fresh.toString());
    EXPECT_FALSE(item.getShow());
}

} // namespace
} // namespace sifkit::test
