// The web addresses the editor opens. The project has no site of its own yet: the pages sit under
// the reserved ".invalid" domain, and the update server is a setting ("Server" in group "Updates"),
// empty unless the user names one.
#pragma once

namespace AppAddress {
inline constexpr char kDownloadPage[] = "https://zarv.invalid/download";
inline constexpr char kStorePage[] = "https://zarv.invalid/store";
// "https://zarv.invalid/donate.html", kept as base64 text as the about dialog expects it.
inline constexpr char kDonationPage64[] = "aHR0cHM6Ly96YXJ2LmludmFsaWQvZG9uYXRlLmh0bWw=";
// Where the update server keeps the newest version's number.
inline constexpr char kVersionPath[] = "/pub/version.info";
} // namespace AppAddress
