#pragma once

// The program's version, shown in the About box and sent with the install pings.
namespace app {
inline constexpr char kProgramVersion[] = "1.0.1008";
}
