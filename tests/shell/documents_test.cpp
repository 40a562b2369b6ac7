// Save and Open through the real Qt file port, into a temporary folder.
#include "document/profile_file.h"
#include "shell_fixture.h"
#include "test_ports.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace tanu::qt::testing {
namespace {

class DocumentsTest : public ShellTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        StartOptions options;
        options.documents = &dialogs_;
        startApp(options);
    }

    std::u16string path(const QString& name) const { return dir_.filePath(name).toStdU16String(); }

    static QByteArray readBytes(const std::u16string& file) {
        QFile in(QString::fromStdU16String(file));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return in.readAll();
    }

    static void writeBytes(const std::u16string& file, const QByteArray& bytes) {
        QFile out(QString::fromStdU16String(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(bytes), bytes.size());
    }

    void typeProfile() {
        click(FirstTextField);
        typeIntoFocused(QStringLiteral("Ann Smith"));
        enterBirthDate(QStringLiteral("2015/3/10"));
        click(SecondDateField);
        typeIntoFocused(QStringLiteral("2024/6/1"));
        click(SecondTextField);
        typeIntoFocused(QStringLiteral("Mr Jones"));
        enterDomainValue(0, QStringLiteral("5"));
        enterDomainValue(3, QStringLiteral("7"));
        click(DomainField + 9);
        typeIntoFocused(QStringLiteral("8")); // still focused: Save commits it first
    }

    QStringList fieldTexts() {
        QStringList texts;
        for (int id = DomainField; id <= SecondTextField; ++id) {
            texts << field(id).text();
        }
        return texts;
    }

    void save(const std::u16string& file) {
        dialogs_.savePath = file;
        window().action(Command::Save)->trigger();
        reactivate();
    }

    void open(const std::u16string& file) {
        dialogs_.openPath = file;
        window().action(Command::Open)->trigger();
        reactivate();
    }

    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;
};

const QByteArray SavedProfile = "Ann Smith\r\n2015/3/10\r\n2024/6/1\r\nMr Jones\r\n"
                                "5\r\n0\r\n0\r\n7\r\n0\r\n0\r\n0\r\n0\r\n0\r\n8\r\n";

TEST_F(DocumentsTest, SaveWritesTheFourteenLinesExactly) {
    typeProfile();
    const std::u16string file = path(QStringLiteral("ann.tanu"));
    save(file);
    EXPECT_EQ(dialogs_.proposed, u"untitled.tanu");
    EXPECT_EQ(readBytes(file), SavedProfile);
    EXPECT_TRUE(modals_->seen.empty());
    // Only the profile is left in the folder: the temporary file was renamed into place.
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"ann.tanu"});
}

TEST_F(DocumentsTest, SaveReplacesAnExistingFileWhole) {
    const std::u16string file = path(QStringLiteral("old.tanu"));
    writeBytes(file, QByteArray(4000, 'x'));
    typeProfile();
    save(file);
    EXPECT_EQ(readBytes(file), SavedProfile);
}

TEST_F(DocumentsTest, SaveIntoAMissingFolderSaysSoAndWritesNothing) {
    typeProfile();
    save(path(QStringLiteral("no/such/folder/ann.tanu")));
    ASSERT_EQ(modals_->seen.size(), 1u);
    EXPECT_EQ(modals_->seen.front().caption, QStringLiteral("Cannot save profile"));
    EXPECT_TRUE(modals_->seen.front().text.startsWith(
        QStringLiteral("The profile could not be saved as \"ann.tanu\".")));
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(DocumentsTest, OpenBringsBackWhatSaveWrote) {
    typeProfile();
    const std::u16string file = path(QStringLiteral("ann.tanu"));
    save(file);
    const QStringList saved = fieldTexts();
    const ChartModel model = state().model;

    window().action(Command::New)->trigger();
    ASSERT_NE(fieldTexts(), saved);
    open(file);

    EXPECT_TRUE(modals_->seen.empty());
    EXPECT_EQ(fieldTexts(), saved);
    EXPECT_EQ(state().model.domainValues, model.domainValues);
    EXPECT_EQ(state().ageText, u"9");
    EXPECT_TRUE(domainFieldsEnabled());
    EXPECT_FALSE(state().birthDatePlaceholder);
    EXPECT_EQ(focusedField(), FirstTextField);
    EXPECT_EQ(field(FirstTextField).cursorPosition(), 9);
    EXPECT_FALSE(field(FirstTextField).hasSelectedText());
}

TEST_F(DocumentsTest, ReadOnlyFileOpens) {
    const std::u16string file = path(QStringLiteral("locked.tanu"));
    writeBytes(file, SavedProfile);
    ASSERT_TRUE(QFile::setPermissions(QString::fromStdU16String(file),
                                      QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    open(file);
    EXPECT_TRUE(modals_->seen.empty());
    EXPECT_EQ(field(FirstTextField).text(), QStringLiteral("Ann Smith"));
    EXPECT_EQ(field(DomainField + 9).text(), QStringLiteral("8"));
}

TEST_F(DocumentsTest, FilesThatAreNoProfileAreRefusedAndChangeNothing) {
    const struct {
        const char* name;
        QByteArray bytes; // empty: no file at all
        QString textStart;
    } cases[] = {
        // What the codec refuses is tested in the core; these reach it through the real files.
        {"empty.tanu", "",
         "The file \"empty.tanu\" is not a TANU profile: it has fewer than fourteen lines."},
        {"huge.tanu", SavedProfile + QByteArray(64 * 1024, '\n'),
         "The file \"huge.tanu\" is not a TANU profile: it is larger than 64 KB."},
        {"missing.tanu", QByteArray(), "The file \"missing.tanu\" could not be read."},
    };
    click(FirstTextField);
    typeIntoFocused(QStringLiteral("Kept"));
    const QStringList before = fieldTexts();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        modals_->seen.clear();
        const std::u16string file = path(QString::fromLatin1(c.name));
        if (std::string_view(c.name) != "missing.tanu") {
            writeBytes(file, c.bytes);
        }
        open(file);
        ASSERT_EQ(modals_->seen.size(), 1u);
        EXPECT_EQ(modals_->seen.front().caption, QStringLiteral("Cannot open profile"));
        EXPECT_TRUE(modals_->seen.front().text.startsWith(c.textStart))
            << modals_->seen.front().text.toStdString();
        EXPECT_EQ(fieldTexts(), before);
    }
}

// "tanu FILE": the file opens as Open would open it, without the dialog, with the same refusals.
TEST_F(DocumentsTest, AFileNamedAtStartOpensAsOpenWould) {
    const struct {
        const char* name;
        QByteArray bytes;
        QString caption; // empty: opens without a box
        QString firstField;
    } cases[] = {
        {"ann.tanu", SavedProfile, QString(), QStringLiteral("Ann Smith")},
        {"short.tanu", "Ann\r\n2015/3/10\r\n\r\n", QStringLiteral("Cannot open profile"),
         QString()},
        {"unborn.tanu",
         "Ann\r\n2030/1/1\r\n\r\n\r\n5\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n",
         QStringLiteral("Date of birth not valid"), QStringLiteral("Ann")},
        {"missing.tanu", QByteArray(), QStringLiteral("Cannot open profile"), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::u16string file = path(QString::fromLatin1(c.name));
        if (!c.bytes.isEmpty()) {
            writeBytes(file, c.bytes);
        }
        StartOptions options;
        options.documents = &dialogs_;
        options.openFile = file;
        startApp(options);
        EXPECT_EQ(dialogs_.openAsked, 0);
        if (c.caption.isEmpty()) {
            EXPECT_TRUE(modals_->seen.empty());
            EXPECT_EQ(fieldTexts(),
                      QStringList({"5", "", "", "7", "", "", "", "", "", "8", "Ann Smith",
                                   "2015/3/10", "2024/6/1", "Mr Jones"}));
            EXPECT_EQ(state().ageText, u"9");
        } else {
            ASSERT_EQ(modals_->seen.size(), 1u);
            EXPECT_EQ(modals_->seen.front().caption, c.caption);
            EXPECT_TRUE(modals_->seen.front().text.contains(QString::fromLatin1(c.name)))
                << modals_->seen.front().text.toStdString();
            EXPECT_FALSE(domainFieldsEnabled());
        }
        EXPECT_EQ(field(FirstTextField).text(), c.firstField);
    }
}

// The real dialogs: where each one starts, recorded and then cancelled or answered.
TEST_F(DocumentsTest, DialogsStartInTheFolderUsedLastElseInDocuments) {
    startApp(StartOptions{});
    QStringList startedIn;
    QString answer; // empty: cancel
    modals_ = std::make_unique<ModalWatcher>(&window(), [&](QWidget& box) {
        auto* dialog = qobject_cast<QFileDialog*>(&box);
        ASSERT_NE(dialog, nullptr);
        startedIn << dialog->directory().absolutePath();
        if (answer.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(answer);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
        }
    });
    // Started from its own folder, the program must not offer that folder.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString firstFolder = QDir(documents).exists() ? documents : QDir::homePath();

    window().action(Command::Open)->trigger();
    reactivate();
    answer = dir_.filePath("ann.tanu");
    window().action(Command::Save)->trigger(); // starts in Documents too, and saves into dir_
    reactivate();
    answer.clear();
    window().action(Command::Open)->trigger();
    reactivate();
    window().action(Command::Save)->trigger();
    reactivate();
    QDir::setCurrent(before);

    const QString used = QFileInfo(dir_.path()).canonicalFilePath();
    ASSERT_EQ(startedIn.size(), 4);
    EXPECT_EQ(startedIn[0], firstFolder);
    EXPECT_EQ(startedIn[1], firstFolder);
    EXPECT_EQ(QFileInfo(startedIn[2]).canonicalFilePath(), used);
    EXPECT_EQ(QFileInfo(startedIn[3]).canonicalFilePath(), used);
    EXPECT_TRUE(QFile::exists(dir_.filePath("ann.tanu")));
    for (const QString& folder : startedIn) {
        EXPECT_NE(folder, QCoreApplication::applicationDirPath());
    }
}

TEST_F(DocumentsTest, CancelledDialogsChangeNothing) {
    click(FirstTextField);
    typeIntoFocused(QStringLiteral("Kept"));
    const QStringList before = fieldTexts();
    dialogs_.openPath.reset();
    dialogs_.savePath.reset();
    window().action(Command::Open)->trigger();
    window().action(Command::Save)->trigger();
    EXPECT_EQ(dialogs_.openAsked, 1);
    EXPECT_EQ(dialogs_.saveAsked, 1);
    EXPECT_EQ(fieldTexts(), before);
    EXPECT_TRUE(modals_->seen.empty());
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

} // namespace
} // namespace tanu::qt::testing
