// The end of a run and what protects the outline around it: Exit that saves while it can
// still ask, failures that keep the program going or write a recovery file, the autosave
// copy, another program's write of the data file, Revert, and a window never shown.

#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/services.h"
#include "core/storage/data_file.h"
#include "core/storage/profile_file.h"
#include "core/storage/recovery_files.h"
#include "core/util/atomic_file.h"
#include "gui/app/ExitFlow.h"
#include "gui/app/StartupRecovery.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/Autosaver.h"
#include "gui/mainwindow/TMainForm.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

using namespace quill;
using namespace quill::gui;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray Text(const TOutline& outline) {
    return QByteArray::fromStdString(DataFileText(outline));
}

constexpr int kTryAgain = 0;
constexpr int kSaveElsewhere = 1;
constexpr int kLoseChanges = 2;
constexpr int kCancel = 3;

QString Reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The question a save that failed at the end asks: Enter tries again, Escape stays.
void VerifyExitSaveQuestion(const Prompter::Box& box) {
    QCOMPARE(box.title, QStringLiteral("Quillmere"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.captions,
             (QStringList{"&Try Again", "Save &Elsewhere...", "E&xit and Lose Changes", "Cancel"}));
    QCOMPARE(box.defaultIndex, kTryAgain);
    QCOMPARE(box.escapeIndex, kCancel);
}

} // namespace

class ExitAndRecoveryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
    std::unique_ptr<ImageLists> images_;
    std::unique_ptr<TMainForm> form_;

    TMainForm& Form() { return *form_; }
    void StartForm(const std::string& dataFile = "quil.dat") {
        form_ = std::make_unique<TMainForm>(*images_, dataFile, "nrb.ini");
        InstallServices({nullptr, nullptr, images_.get(), nullptr, form_.get()});
    }
    TNRBObject* Make(int kind, std::string_view title, TOutlineNode* parent) {
        return CreateItem(kind, title, "", "", 0, "", parent, &form_->Outline());
    }
    QString Path(const QString& name) const { return dir_->filePath(name); }

private slots:
    void initTestCase() { Prompter::SetStrict(true); }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        images_ = std::make_unique<ImageLists>();
        Prompter::Reset();
    }

    void cleanup() {
        form_.reset();
        InstallServices({});
        QVERIFY2(Prompter::Unanswered().isEmpty(), qPrintable(Prompter::Unanswered().join("; ")));
        QDir::setCurrent(previousDir_);
        dir_.reset();
    }

    void revertGivesExactlyTheSavedOutline() {
        StartForm();
        Make(kFolderKind, "Family", Form().Root());
        Make(kPhoneKind, "Main line", Form().Root()); // held by "My Contacts" itself
        Make(kReminderKind, "Tax day", Form().Root());
        QVERIFY(Form().Write());
        const QByteArray saved = ReadAll(QStringLiteral("quil.dat"));
        for (int round = 0; round < 3; ++round) {
            Make(kPersonKind, "Unsaved", Form().Root());
            Prompter::QueueAnswer(QMessageBox::Ok);
            Form().Revert1Click();
            QCOMPARE(Text(Form().Outline()), saved);
            QVERIFY(Form().Write());
            QCOMPARE(ReadAll(QStringLiteral("quil.dat")), saved);
        }
        QCOMPARE(Form().Root()->Item()->ChildCount(), std::size_t{2});
        QCOMPARE(Form().SelectedNode(), Form().Root());
        QVERIFY(!QFileInfo::exists(QStringLiteral("quil.dat.autosave")));
    }

    void aNeverShownWindowKeepsTheStoredLayout() {
        QVERIFY(WriteProfileString("nrb.ini", "WinState", "Norm_Split", "321"));
        QVERIFY(WriteProfileString("nrb.ini", "WinState", "Norm_Width", "900"));
        StartForm(); // as started with HIDEWIN and ended from the tray
        QVERIFY(!Form().EverShown());
        QVERIFY(Form().Finish(true));
        QCOMPARE(ReadProfileInt("nrb.ini", "WinState", "Norm_Split", 0), 321);
        QCOMPARE(ReadProfileInt("nrb.ini", "WinState", "Norm_Width", 0), 900);
        form_.reset();

        StartForm(); // shown, the window's own look is kept
        Form().show();
        Form().resize(700, 500);
        QVERIFY(Form().Finish(true));
        QCOMPARE(ReadProfileInt("nrb.ini", "WinState", "Norm_Width", 0), 700);
    }

    void theAutosaveCopyFollowsChangesAndGoesWithASave() {
        StartForm();
        Autosaver& watch = Form().AutosaveWatch();
        QVERIFY(!watch.Pending());
        watch.SetDelays(std::chrono::milliseconds(40), std::chrono::milliseconds(150));
        // Changes every 10 ms never leave a quiet moment; the copy is still written within
        // the longest delay of the first.
        QElapsedTimer clock;
        clock.start();
        TNRBObject* ann = Make(kPersonKind, "Ann", Form().Root());
        QVERIFY(ann);
        QVERIFY(watch.Pending());
        while (!QFileInfo::exists(QStringLiteral("quil.dat.autosave")) && clock.elapsed() < 2000) {
            ann->SetComment(std::to_string(clock.elapsed()));
            QTest::qWait(10);
        }
        QVERIFY(QFileInfo::exists(QStringLiteral("quil.dat.autosave")));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QFile::Permissions perms = QFileInfo(QStringLiteral("quil.dat.autosave")).permissions();
        QCOMPARE(perms &
                     (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
        // Quiet now: the last change is in the copy after the short delay.
        ann->SetComment("last");
        QTRY_VERIFY_WITH_TIMEOUT(!watch.Pending(), 2000);
        QCOMPARE(ReadAll(QStringLiteral("quil.dat.autosave")), Text(Form().Outline()));
        QVERIFY(!QFileInfo::exists(QStringLiteral("quil.dat")));

        QVERIFY(Form().Write());
        QVERIFY(!QFileInfo::exists(QStringLiteral("quil.dat.autosave")));
        QVERIFY(!watch.Pending());
    }

    void anotherProgramsWriteIsNotOverwrittenUnasked() {
        StartForm();
        Make(kPersonKind, "Ours", Form().Root());
        QVERIFY(Form().Write());
        QTest::qWait(20);
        const QByteArray theirs = "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"
                                  "{1 3 }Theirs~~~~~~5\r\n{Pers}~~~~~~~~~~~~~~~~~~0\r\n";
        WriteAll(QStringLiteral("quil.dat"), theirs);

        Prompter::QueueChoice(2); // Cancel
        QVERIFY(!Form().Write());
        QCOMPARE(ReadAll(QStringLiteral("quil.dat")), theirs);
        QVERIFY(Prompter::Asked().last().contains(QStringLiteral("changed by another program")));
        {
            // Enter and Escape keep the other program's file.
            const Prompter::Box box = Prompter::Boxes().last();
            QCOMPARE(box.icon, QMessageBox::Warning);
            QCOMPARE(box.captions, (QStringList{"&Overwrite", "Save &Elsewhere...", "Cancel"}));
            QCOMPARE(box.defaultIndex, 2);
            QCOMPARE(box.escapeIndex, 2);
        }

        Prompter::QueueChoice(1); // Save Elsewhere
        Prompter::QueueFileName(Path(QStringLiteral("mine.dat")));
        QVERIFY(Form().Write());
        QCOMPARE(ReadAll(QStringLiteral("quil.dat")), theirs);
        QCOMPARE(ReadAll(Path(QStringLiteral("mine.dat"))), Text(Form().Outline()));

        Prompter::QueueChoice(0); // Overwrite
        QVERIFY(Form().Write());
        QCOMPARE(ReadAll(QStringLiteral("quil.dat")), Text(Form().Outline()));
        QVERIFY(Form().Write()); // ours now: no question
    }

    void aFailedSaveAtExitAsksAndKeepsEverything() {
        // A data file in a directory that is gone fails whatever the user's rights.
        StartForm(Path(QStringLiteral("gone/quil.dat")).toStdString());
        Make(kPersonKind, "New this run", Form().Root());

        Prompter::QueueChoice(kTryAgain);
        Prompter::QueueChoice(kCancel);
        QCOMPARE(Form().SaveForExit(true), TMainForm::ExitSave::Cancelled);
        QCOMPARE(Prompter::Asked().size(), 2);
        VerifyExitSaveQuestion(Prompter::Boxes().last());
        QVERIFY(Prompter::Asked().last().contains(QStringLiteral("could not save")));
        QVERIFY(Prompter::Asked().last().contains(Path(QStringLiteral("gone/quil.dat"))));

        // Cancelled: the program goes on, and Finish ends nothing.
        Prompter::QueueChoice(kCancel);
        QVERIFY(!Form().Finish(true));

        Prompter::QueueChoice(kSaveElsewhere);
        Prompter::QueueFileName(Path(QStringLiteral("rescued.dat")));
        QCOMPARE(Form().SaveForExit(true), TMainForm::ExitSave::SavedElsewhere);
        QVERIFY(ReadAll(Path(QStringLiteral("rescued.dat"))).contains("New this run"));

        // A cancelled file dialog asks again.
        Prompter::QueueChoice(kSaveElsewhere);
        Prompter::QueueFileName(QString());
        Prompter::QueueChoice(kLoseChanges);
        QCOMPARE(Form().SaveForExit(true), TMainForm::ExitSave::Discarded);
    }

    void aFullDiskAtExitKeepsTheProgramRunning() {
        StartForm();
        Make(kPersonKind, "Saved before", Form().Root());
        QVERIFY(Form().Write());
        const QByteArray saved = ReadAll(QStringLiteral("quil.dat"));
        Make(kPersonKind, "New this run", Form().Root());
        ExitFlow flow(Form());
        {
            ScopedFileFault full(ScopedFileFault::Step::Write, ENOSPC, "quil.dat");
            Prompter::QueueChoice(kTryAgain); // still full
            Prompter::QueueChoice(kCancel);
            flow.Request(ExitFlow::Mode::Attended);
            QTRY_VERIFY(!flow.InProgress());
            QVERIFY(!flow.Ended());
            QCOMPARE(full.Failures(), 2);
            QCOMPARE(ReadAll(QStringLiteral("quil.dat")), saved);
            QCOMPARE(Prompter::Boxes().size(), 2);
            VerifyExitSaveQuestion(Prompter::Boxes().last());
            QVERIFY(Prompter::Boxes().last().text.contains(Reason(ENOSPC)));
            QVERIFY(Prompter::Boxes().last().text.contains(QStringLiteral("quil.dat")));
            QCOMPARE(QDir(dir_->path()).entryList({"*.tmp-*"}, QDir::Files), QStringList());
        }
        // Room again: Exit saves and ends.
        flow.Request(ExitFlow::Mode::Attended);
        QTRY_VERIFY(flow.Ended());
        QVERIFY(ReadAll(QStringLiteral("quil.dat")).contains("New this run"));
    }

    void aSaveTheDiskCannotSyncIsReportedAndKeepsTheOldFile() {
        StartForm();
        Make(kPersonKind, "Saved", Form().Root());
        QVERIFY(Form().Write());
        const QByteArray saved = ReadAll(QStringLiteral("quil.dat"));
        Make(kPersonKind, "Unsaved", Form().Root());
        QVERIFY(Form().AutosaveWatch().WriteNow());
        ScopedFileFault fault(ScopedFileFault::Step::Sync, EIO, "quil.dat");
        Prompter::QueueAnswer(QMessageBox::Ok);
        QAction* save = Form().Action(QStringLiteral("Save1"));
        QVERIFY(save);
        save->trigger();
        QCOMPARE(fault.Failures(), 1);
        QCOMPARE(ReadAll(QStringLiteral("quil.dat")), saved);
        QCOMPARE(Prompter::Boxes().size(), 1);
        const Prompter::Box box = Prompter::Boxes().last();
        QCOMPARE(box.title, QStringLiteral("Quillmere"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY2(box.text.contains(Reason(EIO)), qPrintable(box.text));
        // Not saved: the autosave copy is what a crash now would leave.
        QVERIFY(QFileInfo::exists(QStringLiteral("quil.dat.autosave")));
        QCOMPARE(QDir(dir_->path()).entryList({"*.tmp-*"}, QDir::Files), QStringList());
    }

    void aFullDiskAtAnUnattendedEndKeepsTheContactsInARecoveryFile() {
        StartForm();
        Make(kPersonKind, "Saved", Form().Root());
        QVERIFY(Form().Write());
        const QByteArray saved = ReadAll(QStringLiteral("quil.dat"));
        Make(kPersonKind, "New this run", Form().Root());
        ScopedFileFault full(ScopedFileFault::Step::Write, ENOSPC, "quil.dat", 20);
        QCOMPARE(Form().SaveForExit(false), TMainForm::ExitSave::Recovered);
        QCOMPARE(full.Failures(), 1);
        QCOMPARE(ReadAll(QStringLiteral("quil.dat")), saved);
        QVERIFY(ReadAll(Form().RecoveryFile()).contains("New this run"));
        QVERIFY(Prompter::Asked().isEmpty());
    }

    void nobodyToAskWritesAPrivateRecoveryFile() {
        StartForm(Path(QStringLiteral("gone/quil.dat")).toStdString());
        Make(kPersonKind, "New this run", Form().Root());
        QCOMPARE(Form().SaveForExit(false), TMainForm::ExitSave::Failed); // nowhere to go

        QVERIFY(QDir().mkdir(Path(QStringLiteral("fallback"))));
        Form().SetRecoveryFallback([this] { return Path(QStringLiteral("fallback")); });
        QCOMPARE(Form().SaveForExit(false), TMainForm::ExitSave::Recovered);
        const QString first = Form().RecoveryFile();
        QCOMPARE(QFileInfo(first).absolutePath(), Path(QStringLiteral("fallback")));
        QVERIFY(IsRecoveryFileOf(QFileInfo(first).fileName().toStdString(), "quil.dat"));
        QCOMPARE(ReadAll(first), Text(Form().Outline()));
        struct stat st {};
        QCOMPARE(::stat(first.toLocal8Bit().constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);

        // A second one in the same second never replaces the first.
        Make(kPersonKind, "Later", Form().Root());
        QCOMPARE(Form().SaveForExit(false), TMainForm::ExitSave::Recovered);
        QVERIFY(Form().RecoveryFile() != first);
        QVERIFY(!ReadAll(first).contains("Later"));
        QVERIFY(Prompter::Asked().isEmpty());
    }

    void anUnattendedEndLeavesAFileChangedOnDiskAlone() {
        StartForm();
        QVERIFY(Form().Write());
        QTest::qWait(20);
        WriteAll(QStringLiteral("quil.dat"), "{Params}\r\n");
        Make(kPersonKind, "Ours", Form().Root());
        QCOMPARE(Form().SaveForExit(false), TMainForm::ExitSave::Recovered);
        QCOMPARE(ReadAll(QStringLiteral("quil.dat")), QByteArray("{Params}\r\n"));
        QCOMPARE(QFileInfo(Form().RecoveryFile()).absolutePath(), dir_->path());
        QVERIFY(ReadAll(Form().RecoveryFile()).contains("Ours"));
    }

    void exitEndsOnlyWhenTheOutlineIsKept() {
        StartForm(Path(QStringLiteral("gone/quil.dat")).toStdString());
        ExitFlow flow(Form());
        Prompter::QueueChoice(kCancel);
        flow.Request(ExitFlow::Mode::Attended);
        QVERIFY(flow.InProgress());
        QTRY_VERIFY(!flow.InProgress());
        QVERIFY(!flow.Ended());

        // A signal while the question is open closes it and ends without asking again.
        Form().SetRecoveryFallback([this] { return dir_->path(); });
        QDialog open(&Form());
        open.setModal(true);
        open.show();
        QTRY_VERIFY(QApplication::activeModalWidget() == &open);
        flow.Request(ExitFlow::Mode::Unattended);
        QTRY_VERIFY(flow.Ended());
        QVERIFY(!open.isVisible());
        QCOMPARE(open.result(), int(QDialog::Rejected));
        QVERIFY(QFileInfo::exists(Form().RecoveryFile()));
    }

    void qtsOwnQuitRequestEndsThroughTheSameWay() {
        StartForm();
        ExitFlow flow(Form());
        Make(kPersonKind, "Kept", Form().Root());
        QEvent quit(QEvent::Quit);
        QVERIFY(flow.eventFilter(qApp, &quit));
        QTRY_VERIFY(flow.Ended());
        QVERIFY(ReadAll(QStringLiteral("quil.dat")).contains("Kept"));
        // Closing the window while the end runs is no longer turned into hiding it.
        Form().show();
        QVERIFY(Form().close());
    }

    void aNewerAutosaveCopyIsOfferedAtStart() {
        const QByteArray saved = "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"
                                 "{1 0 }Saved~~~~~~1\r\n{Fold}0\r\n";
        const QByteArray copy = "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"
                                "{1 0 }Autosaved~~~~~~2\r\n{Fold}0\r\n";
        WriteAll(QStringLiteral("quil.dat"), saved);
        QTest::qWait(20);
        WriteAll(QStringLiteral("quil.dat.autosave"), copy);

        StartForm();
        Prompter::QueueChoice(0); // Restore
        OfferKeptCopies(Form(), QStringLiteral("quil.dat"), {dir_->path()});
        QCOMPARE(Text(Form().Outline()), copy);
        QCOMPARE(Prompter::Boxes().size(), 1);
        QCOMPARE(Prompter::Boxes().last().icon, QMessageBox::Question);
        QCOMPARE(Prompter::Boxes().last().captions, (QStringList{"&Restore", "&Discard"}));
        QCOMPARE(Prompter::Boxes().last().defaultIndex, 0);
        QCOMPARE(Prompter::Boxes().last().escapeIndex, -1); // closed unanswered: asked again
        QVERIFY(QFileInfo::exists(QStringLiteral("quil.dat.autosave"))); // until a save
        QVERIFY(Form().Write());
        QCOMPARE(ReadAll(QStringLiteral("quil.dat")), copy);
        QVERIFY(!QFileInfo::exists(QStringLiteral("quil.dat.autosave")));
        form_.reset();

        WriteAll(QStringLiteral("quil.dat.autosave"), saved);
        StartForm();
        Prompter::QueueChoice(1); // Discard
        OfferKeptCopies(Form(), QStringLiteral("quil.dat"), {dir_->path()});
        QCOMPARE(Text(Form().Outline()), copy);
        QVERIFY(!QFileInfo::exists(QStringLiteral("quil.dat.autosave")));
        form_.reset();

        // An older copy (the data file was saved after it) is not offered.
        WriteAll(QStringLiteral("quil.dat.autosave"), saved);
        QTest::qWait(20);
        WriteAll(QStringLiteral("quil.dat"), copy);
        StartForm();
        OfferKeptCopies(Form(), QStringLiteral("quil.dat"), {dir_->path()});
        QVERIFY(Prompter::Asked().size() == 2);
    }

    void aNewerRecoveryFileIsOfferedAtStart() {
        WriteAll(QStringLiteral("quil.dat"), "{Params}\r\n");
        QTest::qWait(20);
        const QByteArray recovered = "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"
                                     "{1 0 }Recovered~~~~~~1\r\n{Fold}0\r\n";
        WriteAll(QStringLiteral("quil.dat.recovered-19970312-101500"), recovered);
        StartForm();
        Prompter::QueueChoice(1); // keep the file
        OfferKeptCopies(Form(), QStringLiteral("quil.dat"), {dir_->path()});
        QVERIFY(Prompter::Asked().last().contains(
            QStringLiteral("quil.dat.recovered-19970312-101500")));
        QCOMPARE(Prompter::Boxes().last().icon, QMessageBox::Information);
        QCOMPARE(Prompter::Boxes().last().captions, (QStringList{"&Open Now", "&Keep the File"}));
        QCOMPARE(Prompter::Boxes().last().defaultIndex, 0);
        QCOMPARE(Prompter::Boxes().last().escapeIndex, 1);
        QCOMPARE(Form().Outline().NodeCount(), std::size_t{1});
        Prompter::QueueChoice(0); // open it now
        OfferKeptCopies(Form(), QStringLiteral("quil.dat"), {dir_->path()});
        QCOMPARE(Text(Form().Outline()), recovered);
        QVERIFY(QFileInfo::exists(QStringLiteral("quil.dat.recovered-19970312-101500")));
    }
};

QTEST_MAIN(ExitAndRecoveryTest)
#include "ExitAndRecoveryTest.moc"
