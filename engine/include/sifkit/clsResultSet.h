// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <string>

namespace sifkit {

/// One finding of a comparison: a table item (a table or view), a field item (a column:
/// isFieldDesc true) or a data item (one field value of a record found on one side only:
/// isFieldDesc and isDataValue true). The item is plain storage; change codes and lengths cross
/// the interface as decimal texts.
class SIFKIT_EXPORT clsResultSet {
public:
    /// Resets every field to its default, except fieldCount, which keeps its value.
    void initializeValues();

    const std::string& getFieldDefinedSize() const { return fieldDefinedSize_; }
    void setFieldDefinedSize(const std::string& fieldDefinedSizeIn) {
        fieldDefinedSize_ = fieldDefinedSizeIn;
    }
    const std::string& getFieldActualSize() const { return fieldActualSize_; }
    void setFieldActualSize(const std::string& fieldActualSizeIn) { fieldActualSize_ = fieldActualSizeIn; }
    void setPrimaryKey(const std::string& primaryKeyIn) { primaryKey_ = primaryKeyIn; }
    const std::string& getPrimaryKey() const { return primaryKey_; }
    void setFKeyColumnName(const std::string& foreignKeyIn) { fKeyColumnName_ = foreignKeyIn; }
    const std::string& getFKeyColumnName() const { return fKeyColumnName_; }
    void setFKeyName(const std::string& fKeyNameIn) { fKeyName_ = fKeyNameIn; }
    const std::string& getFKeyName() const { return fKeyName_; }
    void setPKeyName(const std::string& pKeyNameIn) { pKeyName_ = pKeyNameIn; }
    const std::string& getPKeyName() const { return pKeyName_; }
    void setFKeyPrimaryTable(const std::string& fKeyPrimarytableIn) {
        fKeyPrimaryTable_ = fKeyPrimarytableIn;
    }
    const std::string& getFKeyPrimaryTable() const { return fKeyPrimaryTable_; }
    void setFKeyPrimaryColName(const std::string& fKeyPrimaryColumnNameIn) {
        fKeyPrimaryColName_ = fKeyPrimaryColumnNameIn;
    }
    const std::string& getFKeyPrimaryColName() const { return fKeyPrimaryColName_; }
    const std::string& getFieldName() const { return fieldName_; }
    void setFieldName(const std::string& fieldNameIn);
    /// The change code as decimal text.
    std::string getChangeType() const { return std::to_string(changeType_); }
    /// Reads the code from decimal text; throws sifkit::ConversionError when it is not a 16-bit
    /// integer.
    void setChangeType(const std::string& changeTypeIn);
    const std::string& getDataType() const { return dataType_; }
    void setDataType(const std::string& dataTypeIn) { dataType_ = dataTypeIn; }
    std::string getLength() const { return std::to_string(length_); }
    /// As setChangeType.
    void setLength(const std::string& lengthIn);
    const std::string& getDatabaseObjName() const { return databaseObjName_; }
    void setDatabaseObjName(const std::string& databaseObjNameIn);
    const std::string& getDataValue() const { return dataValue_; }
    void setDataValue(const std::string& dataValueIn);
    /// Whether the data value is Null. dataValue shows a Null as the text "Null", which a text
    /// field can also hold; this flag tells the two apart.
    bool getIsNull() const { return isNull_; }
    void setIsNull(bool isNullIn) { isNull_ = isNullIn; }
    bool getIsFieldDesc() const { return isFieldDesc_; }
    void setIsFieldDesc(bool isFieldDescIn);
    void setShow(bool showIn) { show_ = showIn; }
    bool getShow() const { return show_; }
    bool getIsDataValue() const { return isDataValue_; }
    void setIsDataValue(bool isDataValueIn);
    int16_t getFieldCount() const { return fieldCount_; }
    void setFieldCount(int16_t fieldCountIn) { fieldCount_ = fieldCountIn; }
    int32_t getRecordCount() const { return recordCount_; }
    void setRecordCount(int32_t recordCountIn) { recordCount_ = recordCountIn; }
    int32_t getRecordNumber() const { return recordNumber_; }
    void setRecordNumber(int32_t recordNumberIn);

    /// One line: "databaseObjName=...,fieldName=...,dataType=...", eighteen labels in all.
    std::string toString() const;

    /// The change code as a number (what getChangeType shows as text).
    int16_t changeCode() const { return changeType_; }
    void setChangeCode(int16_t code) { changeType_ = code; }
    void setLengthValue(int16_t length) { length_ = length; }

    /// Counts changes to the fields the result look-ups index (table, field name, record number,
    /// the two flags and the value), across all items, so an index can tell it is out of date.
    static uint64_t lookupFieldsEpoch();

private:
    /// Makes assignment over an item (which replaces its indexed fields) count for
    /// lookupFieldsEpoch; copying an item into a new one does not.
    struct SIFKIT_EXPORT LookupStamp {
        LookupStamp() = default;
        LookupStamp(const LookupStamp&) = default;
        LookupStamp& operator=(const LookupStamp&) noexcept;
    };

    std::string fieldName_;
    int16_t fieldCount_ = 0;
    int32_t recordNumber_ = 0;
    int32_t recordCount_ = 0;
    int16_t changeType_ = 0;
    std::string dataType_;
    int16_t length_ = 0;
    std::string databaseObjName_;
    std::string dataValue_;
    bool isNull_ = false;
    bool isFieldDesc_ = false;
    bool isDataValue_ = false;
    std::string fieldDefinedSize_;
    std::string fieldActualSize_;
    std::string primaryKey_;
    std::string fKeyColumnName_;
    std::string fKeyPrimaryTable_;
    std::string fKeyPrimaryColName_;
    std::string fKeyName_;
    std::string pKeyName_;
    bool show_ = false;
    [[no_unique_address]] LookupStamp stamp_;
};

} // namespace sifkit
