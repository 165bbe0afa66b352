#pragma once
// Inside a plug-in call a failure unwinds as Failure carrying the result
// code; the exported functions turn it back into their return value.
#include "plugins/SusieApi.h"

namespace spi {

struct Failure {
    susie::Result code;
};

[[noreturn]] inline void Fail(susie::Result code) {
    throw Failure{code};
}

} // namespace spi
