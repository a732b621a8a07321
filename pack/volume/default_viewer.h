// Where `build` takes the viewer from when no --viewer is given.
#pragma once

#include <QString>

namespace cvx::pack {

// The viewer program beside the tool itself (a build tree), otherwise the installed one.
[[nodiscard]] QString defaultViewerPath();

} // namespace cvx::pack
