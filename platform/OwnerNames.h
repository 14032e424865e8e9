#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// The name of a user or group id in this computer's user database (local files, or whatever the
// system's name service asks); empty when the id has none. Each id is asked once per process, so
// any thread may call these for every file it meets.
QString userName(std::uint32_t id);
QString groupName(std::uint32_t id);

} // namespace platform
