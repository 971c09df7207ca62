#pragma once

#include "output/save_dialog.h"

namespace quorvex {

// "BMP Files (*.BMP)" + "*.BMP" -> "BMP Files (*.BMP)": Qt reads the patterns from the bracket at
// the end, so a bracket the description already has is replaced by the pair's own patterns.
QString qtNameFilter(const FilterPair& pair);

// The save dialog over QFileDialog, modal to the owner.
class QtSaveFileDialog final : public SaveFileDialog {
public:
    std::optional<Answer> exec(const Request& request) override;
};

} // namespace quorvex
