// JPEG out: the working image goes to a temporary bitmap, and the encoder
// program that lives beside ours turns it into the JPEG file.
#pragma once

#include <string>

#include "workspace.h"

namespace orx {

constexpr int kEncoderSeconds = 60;

// The encoder beside the running program (never one found on PATH or in
// the current folder, which may be a folder the user browsed to).
std::string encoderPath();

// Writes the working image as name at ws.jpegQuality (1..100, 4:4:4
// sampling). The bitmap handed over has a name of its own, so two running
// programs never share it, and it is removed on every path. A missing,
// failing or silent encoder is reported ("Can not write %s file." and
// why); the old JPEG then stays as it was.
// The encoder and its time limit may be given (tests give stand-ins).
bool saveJPG(Workspace& ws, const std::string& name, const std::string& encoder = encoderPath(),
             int seconds = kEncoderSeconds);

}  // namespace orx
