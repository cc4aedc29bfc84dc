// A stand-in engine library without the entry point.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) std::int32_t SOMETHING_ELSE(std::int32_t v) { return v; }
