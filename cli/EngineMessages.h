// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/clsDBManager.h>

#include <string>

namespace dbsift::cli {

/// The first failure a message text of the engine reports, in the engine's words, or "" when
/// the text reports none. Message texts are runs of "Successfully Completed" and failures, each
/// closed by "||". A data access failure reads "<number> <description> #<n> <context>": only
/// the description is kept, as the context repeats the connection string or the SQL.
std::string firstFailure(const std::string& messageText);

/// Which of a side manager's three message texts to look at.
enum class MessageKinds { ConnectionAndGeneral, All };

/// The first failure of a side manager: its connection message first, then its general and
/// (with MessageKinds::All) its SQL message. "" when there is none.
std::string firstFailure(const sifkit::clsDBManager& side, MessageKinds kinds);

} // namespace dbsift::cli
