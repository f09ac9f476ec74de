#pragma once

namespace skelvor {

/// The maker's web page: the host that the window shows and the address it opens. Kept here alone.
inline constexpr char kMakerHost[] = "skelvor.example.org";
inline constexpr char kMakerUrl[] = "https://skelvor.example.org/";

}  // namespace skelvor
