#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Windows browser command line, computed from the system directory alone
// (no registry, no default-browser lookup), so that it can be checked on any
// platform.

// The folder of a kind: "IE" gives the Internet Explorer folder on the drive
// of the system directory, "WIN" the Windows folder (the system directory
// without its last part); any other kind, compared case-sensitively, gives
// an empty text. Nothing when the system directory holds no backslash.
std::optional<std::wstring> GetSysFolder(std::wstring_view kind, std::wstring_view systemDirectory);

// The command line that opens the address in Internet Explorer: the quoted
// path of IEXPLORE.EXE, one blank, and the address exactly as given. Without
// an IE folder the path is taken from the root of the current drive.
std::wstring IeCommandLine(std::wstring_view systemDirectory, std::wstring_view address);
