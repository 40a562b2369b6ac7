#include "shell_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace tanu::qt::testing {

ModalWatcher::ModalWatcher(QWidget* mainWindow, Action action)
    : mainWindow_(mainWindow), action_(std::move(action)) {
    // A single zero-time shot fires before a box's own event loop runs; poll instead.
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
}

void ModalWatcher::clickOk(QWidget& box) {
    if (auto* message = qobject_cast<QMessageBox*>(&box)) {
        message->button(QMessageBox::Ok)->click();
        return;
    }
    for (QPushButton* button : box.findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("OK")) {
            button->click();
            return;
        }
    }
}

void ModalWatcher::poll() {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    for (const auto& done : handled_) {
        if (done == box) {
            return;
        }
    }
    handled_.emplace_back(box);

    SeenModal seenBox;
    seenBox.caption = box->windowTitle();
    seenBox.position = box->frameGeometry().topLeft();
    seenBox.ownedByMainWindow = mainWindow_ && box->parentWidget() == mainWindow_;
    seenBox.buttons = static_cast<int>(box->findChildren<QAbstractButton*>().size());
    if (auto* message = qobject_cast<QMessageBox*>(box)) {
        seenBox.text = message->text();
        seenBox.icon = static_cast<int>(message->icon());
    } else {
        for (QLabel* label : box->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            seenBox.labels << label->text();
        }
    }
    seen.push_back(seenBox);
    action_(*box);
}

void ShellTest::SetUp() {
    startApp(StartOptions{});
}

void ShellTest::startApp(StartOptions options) {
    modals_.reset();
    app_.reset();
    options.clock = [] { return TestToday; };
    app_ = std::make_unique<TanuApplication>(std::move(options));
    // Watching already while the program starts: a file opened at start may show a box.
    modals_ = std::make_unique<ModalWatcher>(nullptr);
    app_->start();
    modals_->setMainWindow(&window());
    reactivate();
}

void ShellTest::TearDown() {
    modals_.reset();
    app_.reset();
}

FieldEdit& ShellTest::field(int id) {
    FieldEdit* edit = app_->host().field(id);
    if (edit == nullptr) {
        throw std::logic_error("no such field");
    }
    return *edit;
}

int ShellTest::focusedField() const {
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    auto* asField = dynamic_cast<FieldEdit*>(edit);
    return asField != nullptr ? asField->id() : 0;
}

void ShellTest::reactivate() {
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
}

void ShellTest::pressTab() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    if (!window().isActiveWindow()) {
        reactivate();
    }
}

void ShellTest::pressShiftTab() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    if (!window().isActiveWindow()) {
        reactivate();
    }
}

void ShellTest::typeIntoFocused(const QString& text) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(target, Qt::Key_Delete);
    } else {
        QTest::keyClicks(target, text);
    }
}

void ShellTest::click(int id) {
    QTest::mouseClick(&field(id), Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    if (!window().isActiveWindow()) {
        reactivate();
    }
}

void ShellTest::enterBirthDate(const QString& text) {
    click(BirthDateField);
    typeIntoFocused(text);
    pressTab();
}

void ShellTest::enterDomainValue(int domain, const QString& text) {
    click(DomainField + domain);
    typeIntoFocused(text);
    pressTab();
}

std::pair<std::uint32_t, std::uint32_t> ShellTest::scale() const {
    const auto& rings = app_->state().model.rings;
    return {rings.front().years, rings.back().years};
}

bool ShellTest::domainFieldsEnabled() {
    int enabled = 0;
    for (int k = 0; k < 10; ++k) {
        enabled += field(DomainField + k).isEnabled() ? 1 : 0;
    }
    if (enabled != 0 && enabled != 10) {
        ADD_FAILURE() << "only " << enabled << " of the ten domain fields are enabled";
    }
    return enabled == 10;
}

} // namespace tanu::qt::testing
