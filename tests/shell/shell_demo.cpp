// Brings up the real window, types a sample profile into it as a user would, and then stays
// open for a screenshot (or writes the window and a printed page to files and quits).
//   tanu_shell_demo [--grab window.png] [--pdf page.pdf] [--about] [--quit]
#include "qt_printer_port.h"
#include "tanu_app.h"

#include <QApplication>
#include <QTest>

#include <cstdio>

using namespace tanu;
using namespace tanu::qt;

namespace {

void typeInto(TanuApplication& app, int id, const QString& text) {
    FieldEdit* edit = app.host().field(id);
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QString grabPath;
    QString pdfPath;
    bool quit = false;
    bool about = false;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--grab") && i + 1 < args.size()) {
            grabPath = args[++i];
        } else if (args[i] == QStringLiteral("--pdf") && i + 1 < args.size()) {
            pdfPath = args[++i];
        } else if (args[i] == QStringLiteral("--about")) {
            about = true;
        } else if (args[i] == QStringLiteral("--quit")) {
            quit = true;
        }
    }

    QtPrinterPort printer(pdfPath.isEmpty() ? PrinterSource(defaultPrinter)
                                            : pdfPrinter(pdfPath, QPageSize::A4));
    StartOptions options;
    options.clock = [] { return CalendarDate{2024, 6, 15}; };
    options.printer = &printer;
    TanuApplication app(options);
    app.start();
    app.window().activateWindow();
    if (!QTest::qWaitForWindowActive(&app.window())) {
        std::fprintf(stderr, "the window did not become active\n");
        return 1;
    }

    typeInto(app, FirstTextField, QStringLiteral("Ann Smith"));
    typeInto(app, BirthDateField, QStringLiteral("2015/3/10"));
    typeInto(app, SecondDateField, QStringLiteral("2024/6/1"));
    typeInto(app, SecondTextField, QStringLiteral("Mr Jones"));
    const char* values[] = {"8", "6", "9", "5", "7", "4", "9", "6", "3", "8"};
    for (int k = 0; k < 10; ++k) {
        typeInto(app, DomainField + k, QString::fromLatin1(values[k]));
    }
    typeInto(app, FirstTextField, QStringLiteral("Ann Smith"));
    QTest::qWait(100);

    if (!pdfPath.isEmpty()) {
        app.window().action(Command::Print)->trigger();
    }
    if (!grabPath.isEmpty()) {
        app.window().grab().save(grabPath);
    }
    if (quit) {
        return 0;
    }
    if (about) {
        app.window().action(Command::About)->trigger();
    }
    QApplication::exec();
    return 0;
}
