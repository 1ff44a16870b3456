#pragma once

#include "hdm_report_options.h"

namespace hextant {

/// Opens the model of `options` for random access and answers its points, then writes its
/// export and its picture; returns the exit status. `argc` and `argv` start Qt for the picture.
int RunInspectActions(const InspectOptions& options, int argc, char** argv);

}  // namespace hextant
