// The About box: the version line and a short note on resetting the ring scale.
#pragma once

#include <QDialog>

#include <array>
#include <string_view>

namespace tanu::qt {

inline constexpr std::u16string_view AboutCaption = u"About tanu";

// A line of the box, placed in dialog units (a quarter of the average character width, an
// eighth of the line height) from the top left of the box's client area.
struct AboutLine {
    std::u16string_view text;
    int x;
    int y;
};

inline constexpr std::array<AboutLine, 7> AboutLines{{
    {u"tanu, Version 1.0", 20, 14},
    {u"Step 1 - enter a DOB to unlock the wedge input areas.", 20, 50},
    {u"Q: I accidentally put a large number into a domain and now the ring values have changed.",
     20, 70},
    {u"How do I reset them?", 30, 82},
    {u"A: Click in the Date of Birth field and then click in the domain you want to change - it "
     u"should",
     20, 100},
    {u"reset to the age of the student. Warning: clicking in the Date of Birth field and then "
     u"clicking",
     30, 112},
    {u"any other field will reset ALL domains with values higher than the chronological age.", 30,
     124},
}};

// Modal on its owner; OK and Enter accept, Escape and the close box reject. Either way the
// profile is untouched.
class AboutBox final : public QDialog {
public:
    explicit AboutBox(QWidget* owner);
};

} // namespace tanu::qt
