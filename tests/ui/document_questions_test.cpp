// The start-up questions about the document, answered as a user would: a
// document or colour file that cannot be read is kept, moved aside or left
// for a session saved under a new name; a document open in another
// Celestra is opened read-only or not at all. Without an answer nothing is
// written over anything.
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "tests/ui/qt_test_support.h"
#include "ui/first_start_page.h"
#include "ui/program.h"

using namespace celestra;

namespace {

QByteArray bytesOf(const std::vector<uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QPushButton* button(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) return qobject_cast<QPushButton*>(b);
    return nullptr;
}

template <class T>
T* shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    return nullptr;
}

}  // namespace

class DocumentQuestionsTest : public QObject {
    Q_OBJECT

    QString data_ = QDir::homePath() + QStringLiteral("/Documents/Celestra");
    QString doc_ = data_ + QStringLiteral("/Celestra.clj");
    QString colors_ = data_ + QStringLiteral("/Celestra.colors");
    QByteArray good_ = bytesOf(serializeDocument(DocumentData(2451545.0, 0.0)));
    QByteArray newer_;

    std::unique_ptr<Program> start() {
        auto program = startProgram(QCoreApplication::applicationFilePath());
        showProgram(*program);
        if (!QTest::qWaitForWindowExposed(program->window.get())) return nullptr;
        return program;
    }

private slots:
    void init() {
        QSettings().clear();
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
        QDir(data_).removeRecursively();
        QDir().mkpath(data_);
        newer_ = good_;
        newer_[0] = char(0xFD);  // version 1021
    }

    void withoutAnAnswerTheDocumentIsKept() {
        writeAll(doc_, newer_);
        auto program = start();
        QVERIFY(program);
        QVERIFY(program->question);
        QVERIFY(program->question->text().contains(doc_));
        QVERIFY(program->question->text().contains(QStringLiteral("document version 1021 found")));
        QVERIFY(!program->firstStart);
        QCOMPARE(program->window->windowTitle(), QStringLiteral("Celestra (not saved)"));
        QVERIFY(!program->window->Save());  // no message box: a note in the status line
        QVERIFY(!shown<QMessageBox>() || shown<QMessageBox>() == program->question);
        program->window->saveAtExit();  // as a signal would, the question still open
        QCOMPARE(readAll(doc_), newer_);
        QVERIFY(!QFile::exists(colors_));
        // "Don't Save" (Escape) keeps it so.
        QTest::keyClick(program->question, Qt::Key_Escape);
        QTRY_VERIFY(!program->question);
        program->window->close();
        QCOMPARE(readAll(doc_), newer_);
    }

    void movedAsideTheSessionStartsANewDocument() {
        writeAll(doc_, newer_);
        writeAll(colors_, "xyz");  // damaged as well
        auto program = start();
        QVERIFY(program);
        QVERIFY(program->question->informativeText().contains(colors_));
        button(program->question, QStringLiteral("Move Aside"))->click();
        // The date on the tests' stopped clock (2024-10-15 06:00 UTC, TZ=UTC).
        const QString aside = QStringLiteral(".unreadable-2024-10-15");
        QCOMPARE(readAll(doc_ + aside), newer_);
        QCOMPARE(readAll(colors_ + aside), QByteArray("xyz"));
        // A new document: the place page asks where the observer is.
        QTRY_VERIFY(shown<FirstStartPage>());
        shown<FirstStartPage>()->reject();
        QCOMPARE(program->window->windowTitle(), QStringLiteral("Celestra"));
        program->window->close();
        DocumentData saved;
        std::string error;
        QVERIFY(loadDocument(doc_.toStdString(), saved, error).ok());
        QCOMPARE(readAll(colors_).left(4), QByteArray("\x1A\x04\x00\x00", 4));
    }

    void theSessionSavedUnderANewName() {
        QDir().mkpath(doc_);  // a folder where the document should be
        auto program = start();
        QVERIFY(program);
        button(program->question, QStringLiteral("Save As..."))->click();
        QFileDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = shown<QFileDialog>()));
        const QString named = data_ + QStringLiteral("/trip.clj");
        dialog->selectFile(named);
        static_cast<QDialog*>(dialog)->accept();  // as the Save button does
        QVERIFY(QFileInfo(doc_).isDir());
        QCOMPARE(QString::fromStdString(program->window->paths().docPath), named);
        program->document.observer.latitude = 12.5;
        program->window->close();
        DocumentData saved;
        std::string error;
        QVERIFY(loadDocument(named.toStdString(), saved, error).ok());
        QCOMPARE(saved.observer.latitude, 12.5);
        QVERIFY(QFile::exists(data_ + QStringLiteral("/trip.colors")));
    }

    void aColourFileAloneIsKeptWhileTheDocumentIsSaved() {
        writeAll(doc_, good_);
        QByteArray colors = bytesOf(serializeColorFile(ColorSchemes()));
        colors[0] = char(0x1B);  // 1051
        writeAll(colors_, colors);
        auto program = start();
        QVERIFY(program);
        QVERIFY(program->question->text().contains(QStringLiteral("colour file version 1051 found")));
        QVERIFY(!button(program->question, QStringLiteral("Save As...")));
        button(program->question, QStringLiteral("Keep"))->click();
        program->document.observer.latitude = -33.5;
        program->window->close();
        QCOMPARE(readAll(colors_), colors);
        DocumentData saved;
        std::string error;
        QVERIFY(loadDocument(doc_.toStdString(), colors_.toStdString(), saved, error).ok());
        QCOMPARE(saved.observer.latitude, -33.5);
    }

    void openElsewhereReadOnlyOrQuit() {
        writeAll(doc_, good_);
        DocumentLock other;  // another Celestra's
        QCOMPARE(other.acquire(doc_.toStdString()), DocumentLock::Result::Owned);
        for (const QString& answer : {QStringLiteral("Open Read-Only"), QStringLiteral("Quit")}) {
            auto program = start();
            QVERIFY(program);
            QVERIFY(program->question->text().contains(
                QStringLiteral("open in another Celestra (process %1)").arg(QCoreApplication::applicationPid())));
            QCOMPARE(program->window->windowTitle(), QStringLiteral("Celestra (read-only)"));
            button(program->question, answer)->click();
            QCOMPARE(program->window->isVisible(), answer != QStringLiteral("Quit"));
            program->document.observer.latitude = 70.0;
            program->window->close();
            QCOMPARE(readAll(doc_), good_);
        }
        // Once the other has ended, the lock is this program's.
        other.release();
        auto program = start();
        QVERIFY(program);
        QVERIFY(!program->question);
        program->window->close();
        QVERIFY(readAll(doc_) != good_);
    }
};

int main(int argc, char** argv) {
    test::prepareQtTestEnvironment();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Celestra"));
    QApplication::setApplicationName(QStringLiteral("Celestra"));
    DocumentQuestionsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "document_questions_test.moc"
