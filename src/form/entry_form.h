// The fourteen entry fields, their placeholders and the commits that run when a field loses
// the keyboard focus.
#pragma once

#include "form/chart_view.h"
#include "form/field_host.h"
#include "form/form_texts.h"
#include "form/message_port.h"
#include "model/chart_model.h"
#include "model/dates.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tanu {

// Field ids; the creation order 500..513 is also the Tab order.
inline constexpr int DomainField = 500; // domain k has the id DomainField + k
inline constexpr int FirstTextField = 510;
inline constexpr int BirthDateField = 511;
inline constexpr int SecondDateField = 512;
inline constexpr int SecondTextField = 513;

// Where each field stands on the window, in chart pixels.
FieldRect fieldRect(int id);
bool isDomainField(int id);

// The scale a program starts on, before any date of birth: 7 to 15 years.
inline constexpr std::uint32_t StartScaleLow = 7;
inline constexpr std::uint32_t StartScaleHigh = 15;

// The model of a profile before any date of birth: the start scale, no values.
ChartModel startModel();

// The text a domain field shows for a value: its digits, nothing for 0.
std::u16string domainFieldText(std::uint32_t value);
// The text after "Age: " for an age in whole years.
std::u16string ageTextOf(std::int32_t age);

// The entry form's state: the model, the age text, the placeholders and the focus, with the ports
// to the window's fields, its message boxes and its chart. It is on the start scale from the
// moment it exists, so a window painted before its fields are made already shows the whole empty
// chart.
struct FormState {
    FormState(FieldHost& fieldHost, MessagePort& messagePort, ChartView& chartView, Clock clock)
        : fields(&fieldHost), messages(&messagePort), chart(&chartView), today(std::move(clock)),
          model(startModel()) {}

    FieldHost* fields;
    MessagePort* messages;
    ChartView* chart;
    Clock today;
    ChartModel model;
    std::u16string ageText = u"-";
    bool birthDatePlaceholder = true;
    bool secondDatePlaceholder = true;
    // The field that last gained the focus and has not committed since: a field commits at most
    // once for each time it held the focus, however many focus-outs the toolkit reports.
    std::optional<int> focusedField;
    // Set while New or Open move the focus themselves: that move must not commit anything.
    bool commitsSuppressed = false;
};

// Brings a new FormState to the start: both placeholders, the fourteen fields created in Tab
// order with the domain fields locked, and the focus in the first text field. The host must be
// ready to create fields.
void startForm(FormState& state);

// Tells the user in one message box which chart pictures are there but not used (each text
// names its file and why); nothing when there are none.
void reportUnusedPictures(FormState& state, const std::vector<std::u16string>& problems);

void createDomainFields(FormState& state);
void createHeaderFields(FormState& state);

void onFieldFocusGained(FormState& state, int id);
void onFieldFocusLost(FormState& state, int id);

// Commits the field that holds the focus now, as leaving it would; for commands that are about
// to open a dialog. The focus-out that follows then commits nothing more.
void commitFocusedField(FormState& state);

void commitBirthDate(FormState& state, std::u16string_view text);
void commitDomainField(FormState& state, int domain);
void refreshDomainFields(FormState& state);
void setAgeText(FormState& state, std::int32_t age);
void newProfile(FormState& state);

// Age from the text of the birth-date field; 0 when it holds no acceptable date of birth.
std::int32_t ageFromBirthField(const FormState& state);

// A field's text, at most 499 code units, as the painter prints it.
std::u16string readFieldText(const FormState& state, int id);
// A field's text, at most 259 code units, as the commits and the profile file read it.
std::u16string readCommitText(const FormState& state, int id);

// Moves the focus without committing the field that loses it (New and Open).
void moveFocusWithoutCommit(FormState& state, int id);

} // namespace tanu
