// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"

#include <sifkit/DataAccess.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sifkit::platform {

struct ConnectionState {
    std::string connectionString;
    std::unique_ptr<Backend> backend; ///< null while closed
};

struct RecordsetState {
    enum class Edit { None, Editing, Adding };

    bool open = false;
    RowSet data; ///< columns stay after close so the field count can still be read
    std::size_t position = 0;
    std::string source;
    std::string baseTable; ///< table that addNew/update write to, "" when not writable
    FileNotes notes;       ///< what a file it was read from carried beside its rows
    std::shared_ptr<ConnectionState> connection;

    Edit edit = Edit::None;
    std::vector<std::optional<Value>> pending; ///< assignments not yet written, by field

    void requireOpen() const;
    void requireCurrentRow() const;
    /// The value field index shows now: a pending assignment, else the current row's value.
    Value currentValue(std::size_t index) const;
};

} // namespace sifkit::platform
