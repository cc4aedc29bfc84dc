// A stand-in engine library built for another interface version: it refuses every call.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) std::int32_t _ITARNEL(std::int32_t) { return 1; }
