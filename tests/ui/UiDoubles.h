#pragma once

#include "core/formats/SetHeader.h"
#include "core/model/Document.h"
#include "ui/dialogs/CommonDialog.h"
#include "ui/dialogs/SaveChangesQuestion.h"
#include "ui/files/Clipboard.h"
#include "ui/window/frmMain.h"

#include <QApplication>
#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

// A file dialog that answers from a script instead of asking anyone, and
// remembers how it was set up each time it was shown.
class ScriptedDialog final : public CommonDialog {
public:
    struct Shown {
        bool save = false;
        QString title;
        QString filter;
        QString fileName;
        int filterIndex = 0;
        QString initDir;
    };

    QStringList answers;      // "" means the user cancelled
    QList<int> filterChoices; // the filter chosen with each answer; none left leaves the one shown
    QList<Shown> shown;

private:
    void Ask(bool save) override
    {
        shown.append({save, DialogTitle, Filter, FileName, FilterIndex, initialFolder});
        FileName = answers.isEmpty() ? QString() : answers.takeFirst();
        if (!filterChoices.isEmpty())
            FilterIndex = filterChoices.takeFirst();
    }
};

// The questions before work is lost, answered from a script; counts how often one was asked.
class ScriptedQuestion final : public SaveChangesQuestion {
public:
    QList<Answer> answers; // none left means Cancel
    QList<bool> toReplace; // none left means No
    int asked = 0;
    QString lastQuestion;

    Answer Ask(const QString &question) override
    {
        Note(question);
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
    bool AskToReplace(const QString &question) override
    {
        Note(question);
        return !toReplace.isEmpty() && toReplace.takeFirst();
    }

private:
    void Note(const QString &question)
    {
        ++asked;
        lastQuestion = question;
    }
};

// A clipboard that keeps its text in memory and can be told to deny having any.
class FakeClipboard final : public Clipboard {
public:
    QString text;
    bool holdsText = false;
    bool refusesText = false;
    int clears = 0;

    void Clear() override
    {
        ++clears;
        text.clear();
        holdsText = false;
    }
    void SetText(const QString &newText) override
    {
        text = newText;
        holdsText = !refusesText;
    }
    bool HasText() const override { return holdsText; }
    const QMimeData *Contents() const override { return &contents; }

    QMimeData contents; // what there is to paste
};

// A set of `count` pictures of `size`, each named and with dots of its own
// in every row and column (a width that is no multiple of 8 included), and
// as frames with delays of their own where `form` says so.
inline tessaldo::Document PatternedSet(tessaldo::PictureSize size, int count,
                                       tessaldo::SetForm form = tessaldo::SetForm::Pictures)
{
    tessaldo::Document set;
    set.form = form;
    set.pictures.clear();
    for (int at = 0; at < count; ++at) {
        tessaldo::Dots dots(size);
        for (int dot = 0; dot < size.DotCount(); ++dot) {
            const int column = dot % size.width;
            const int row = dot / size.width;
            if ((column * 3 + row * 5 + at) % 7 < 3 || column + 1 == size.width)
                dots[static_cast<std::size_t>(dot)] = tessaldo::DotState::Set;
        }
        const int delayMs = form == tessaldo::SetForm::Frames ? 40 + 70 * at : tessaldo::kDefaultDelayMs;
        set.pictures.push_back({"icon_" + std::to_string(at + 1), delayMs, std::move(dots)});
    }
    return set;
}

// The set's header as the command line writes it, in the file at `path`.
inline void WriteSetHeader(const QString &path, const tessaldo::Document &set)
{
    const tessaldo::SetText header =
        tessaldo::FormatSetHeader(set, std::filesystem::path(path.toStdString()), "tessaldo-cli header", std::nullopt,
                                  tessaldo::DefaultSetLayout(set.Size()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(header.text.data(), qint64(header.text.size())), qint64(header.text.size()));
}

// Runs `handle` on the next modal window as soon as it is shown, so a test
// can look at a message box or dialog and close it.
inline void OnNextModal(std::function<void(QWidget *)> handle)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, handle = std::move(handle)] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            handle(modal);
        }
    });
    timer->start();
}

// A shown window whose dialogs, clipboard and questions the test scripts,
// and a folder for its files; made anew for every test.
struct WindowUnderTest {
    frmMain *window = nullptr;
    ScriptedDialog *dialog = nullptr;
    FakeClipboard *clipboard = nullptr;
    ScriptedQuestion *question = nullptr;
    std::unique_ptr<QTemporaryDir> tempDir;

    void Open()
    {
        // The windows' choices go where tests keep their settings, and no test finds another's.
        QStandardPaths::setTestModeEnabled(true);
        QSettings(QStringLiteral("Tessaldo"), QStringLiteral("Tessaldo")).clear();
        OpenKeepingChoices();
    }
    // A window as the program's next start makes it: with the choices the last one remembered.
    void OpenKeepingChoices()
    {
        auto scripted = std::make_unique<ScriptedDialog>();
        auto fake = std::make_unique<FakeClipboard>();
        auto asking = std::make_unique<ScriptedQuestion>();
        dialog = scripted.get();
        clipboard = fake.get();
        question = asking.get();
        window = new frmMain(std::move(scripted), std::move(fake), std::move(asking));
        tempDir = std::make_unique<QTemporaryDir>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void Close()
    {
        delete window;
        window = nullptr;
        tempDir.reset();
    }
};
