// The one place the defaults of a scan are decided.
#pragma once

#include "records.hpp"

namespace quelmaris {

ScanConfig default_scan_config();

}  // namespace quelmaris
