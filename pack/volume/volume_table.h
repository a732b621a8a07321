// The readable table printed by "cartavox-pack inspect": the block's texts, the book records
// and each book's directory with its page labels.
#pragma once

#include "pack/volume/volume_reader.h"

namespace cvx::pack {

[[nodiscard]] QString inspectTable(const VolumeInfo& volume);

} // namespace cvx::pack
