// Process-level services.
#pragma once

namespace sif {

// Opens the null device on any of the standard streams that the process was
// started without, so that nothing else can land on those descriptors.
void EnsureStandardStreams();

}  // namespace sif
