#pragma once

#include "hdmfile/hdm_reader.h"

namespace hextant {

/// Checks `model` (read whole) and prints one `key: value` line per finding on standard output and
/// a warning on standard error for each problem found; returns the exit status, 0 when the check
/// found nothing to warn about and 3 otherwise.
int PrintModelCheck(const hdm::HdmModel& model);

}  // namespace hextant
