// The About box: the version line and a short note on resetting the ring scale.
#pragma once

#include "app/system_texts.h"

#include <QDialog>

namespace tanu::qt {

// Modal on its owner; OK and Enter accept, Escape and the close box reject. Either way the
// profile is untouched.
class AboutBox final : public QDialog {
public:
    explicit AboutBox(QWidget* owner);
};

} // namespace tanu::qt
