#pragma once

#include "storage/device_map.hpp"

namespace pellora::gui {

// Opens block devices the person may not read through UDisks2 on the system bus
// (Block.OpenDevice, read-only); polkit asks for the person's consent. Each node is asked for once
// per run and its descriptor is handed out again as copies. Without the service, or when the
// person declines, the open fails as it would have, and the drive's message says how to get
// access.
AccessBroker UdisksAccessBroker();

}  // namespace pellora::gui
