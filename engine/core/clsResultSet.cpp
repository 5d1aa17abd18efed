// SPDX-License-Identifier: MIT
#include <sifkit/SifkitError.h>
#include <sifkit/clsResultSet.h>

#include <atomic>
#include <charconv>

namespace sifkit {

namespace {

std::atomic<uint64_t> lookupEpoch{0};

void touch() {
    lookupEpoch.fetch_add(1, std::memory_order_relaxed);
}

int16_t parseInt16(const std::string& text) {
    int value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin < end && *begin == ' ')
        ++begin;
    if (begin < end && *begin == '+')
        ++begin;
    auto result = std::from_chars(begin, end, value);
    while (result.ptr < end && *result.ptr == ' ')
        ++result.ptr;
    if (result.ec != std::errc() || result.ptr != end || value < INT16_MIN || value > INT16_MAX)
        throw ConversionError(text);
    return static_cast<int16_t>(value);
}

const char* yesNo(bool value) {
    return value ? "True" : "False";
}

} // namespace

clsResultSet::LookupStamp& clsResultSet::LookupStamp::operator=(const LookupStamp&) noexcept {
    touch();
    return *this;
}

uint64_t clsResultSet::lookupFieldsEpoch() {
    return lookupEpoch.load(std::memory_order_relaxed);
}

void clsResultSet::initializeValues() {
    int16_t keptFieldCount = fieldCount_;
    *this = clsResultSet();
    fieldCount_ = keptFieldCount;
    touch();
}

void clsResultSet::setFieldName(const std::string& fieldNameIn) {
    fieldName_ = fieldNameIn;
    touch();
}

void clsResultSet::setChangeType(const std::string& changeTypeIn) {
    changeType_ = parseInt16(changeTypeIn);
}

void clsResultSet::setLength(const std::string& lengthIn) {
    length_ = parseInt16(lengthIn);
}

void clsResultSet::setDatabaseObjName(const std::string& databaseObjNameIn) {
    databaseObjName_ = databaseObjNameIn;
    touch();
}

void clsResultSet::setDataValue(const std::string& dataValueIn) {
    dataValue_ = dataValueIn;
    touch();
}

void clsResultSet::setIsFieldDesc(bool isFieldDescIn) {
    isFieldDesc_ = isFieldDescIn;
    touch();
}

void clsResultSet::setIsDataValue(bool isDataValueIn) {
    isDataValue_ = isDataValueIn;
    touch();
}

void clsResultSet::setRecordNumber(int32_t recordNumberIn) {
    recordNumber_ = recordNumberIn;
    touch();
}

std::string clsResultSet::toString() const {
    std::string s;
    s.reserve(256);
    s += "databaseObjName=" + databaseObjName_;
    s += ",fieldName=" + fieldName_;
    s += ",dataType=" + dataType_;
    s += ",fieldDefinedSize=" + fieldDefinedSize_;
    s += ",fieldActualSize=" + fieldActualSize_;
    s += ",dataValue=" + dataValue_;
    s += ",fieldCount=" + std::to_string(fieldCount_);
    s += ",recordNumber=" + std::to_string(recordNumber_);
    s += ",recordCount=" + std::to_string(recordCount_);
    s += ",changeType=" + std::to_string(changeType_);
    s += std::string(",isFieldDesc=") + yesNo(isFieldDesc_);
    s += std::string(",isDataValue=") + yesNo(isDataValue_);
    s += ",primaryKey=" + primaryKey_;
    s += ",foreignKey=" + fKeyColumnName_;
    s += ",fKeyPrimarytable=" + fKeyPrimaryTable_;
    s += ",fKeyPrimaryColumnName=" + fKeyPrimaryColName_;
    s += ",fKeyName=" + fKeyName_;
    s += ",pKeyName=" + pKeyName_;
    return s;
}

} // namespace sifkit
