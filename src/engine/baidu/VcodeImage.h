#pragma once

#include <QString>

// What DownloadVcodeImage returns when it saved nothing.
inline constexpr char kVcodeImageError[] = "error";

// Where the verification image is kept while its dialog is up: "vcode.gif" in a directory of
// this user's alone (the program's own directory is not writable on Linux).
QString VcodeImagePath();

// Fetches the verification image at address (one GET of its own, no Cookie header) into
// VcodeImagePath(), created anew with owner-only permissions. Returns the path, or "error" for
// an empty or unparsable address, a status other than 200, or a file that cannot be written.
// Throws HttpError when the request cannot be carried out at all.
QString DownloadVcodeImage(const QString& address);
