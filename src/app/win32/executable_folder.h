#pragma once

#include <string>

namespace orvane {

// The folder of the running executable, without the trailing separator.
std::wstring executableFolder();

}  // namespace orvane
