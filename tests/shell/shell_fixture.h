// A started TANU window under test, with helpers that type, tab and close message boxes as a
// user would.
#pragma once

#include "tanu_app.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

class QMessageBox;

namespace tanu::qt::testing {

// The fixed "today" of every shell test: a date of birth of 2015/3/10 gives age 9.
inline constexpr CalendarDate TestToday{2024, 6, 15};

// What a modal box showed when the watcher met it.
struct SeenModal {
    QString caption;
    QString text;       // a message box's text; empty for other dialogs
    int icon = 0;       // a message box's QMessageBox::Icon
    int buttons = 0;    // push buttons in the box
    QStringList labels; // the label texts of other dialogs, in child order
    QPoint position;    // top left of the box's frame
    bool ownedByMainWindow = false;
};

// Polls for modal boxes while a test runs; records each one and then ends it with the action
// (by default a click on its OK button).
class ModalWatcher {
public:
    using Action = std::function<void(QWidget& box)>;

    explicit ModalWatcher(QWidget* mainWindow, Action action = clickOk);
    static void clickOk(QWidget& box);
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

    std::vector<SeenModal> seen;

private:
    void poll();

    QPointer<QWidget> mainWindow_;
    Action action_;
    QTimer timer_;
    std::vector<QPointer<QWidget>> handled_;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program; the default start-up is done by SetUp.
    void startApp(StartOptions options);

    MainWindow& window() { return app_->window(); }
    FormState& state() { return app_->state(); }
    FieldEdit& field(int id);
    // The id of the field with the keyboard focus, or 0 when no field has it.
    int focusedField() const;

    // Gives the window the activation back after a modal box, as a window manager does.
    void reactivate();
    void pressTab();
    void pressShiftTab();
    // Replaces the focused field's whole text, as select-all and typing do.
    void typeIntoFocused(const QString& text);
    // Moves the focus into the field with a mouse click.
    void click(int id);
    // Types a date of birth into the birth-date field and leaves it with Tab.
    void enterBirthDate(const QString& text);
    // Types a value into a domain field and leaves it with Tab.
    void enterDomainValue(int domain, const QString& text);

    std::pair<std::uint32_t, std::uint32_t> scale() const;
    bool domainFieldsEnabled();

    std::unique_ptr<TanuApplication> app_;
    std::unique_ptr<ModalWatcher> modals_;
};

} // namespace tanu::qt::testing
