#pragma once

class Connection;

namespace schema {

// The schema version this build writes and understands.
constexpr int currentVersion = 11;

// Creates or upgrades the database to currentVersion, in one transaction per step.
// Throws when the file was written by a newer service.
void migrate(Connection &db);

// The version recorded in the file (0 for a new file).
int version(Connection &db);
// Whether the block of that version has been applied.
bool applied(Connection &db, int version);

} // namespace schema
