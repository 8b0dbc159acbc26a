#include "ui/document_questions.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "app/document_guard.h"
#include "ui/main_window.h"

namespace celestra {

namespace {

QMessageBox* openBox(MainWindow& window, QMessageBox::Icon icon, const QString& text) {
    auto* box = new QMessageBox(icon, QStringLiteral("Celestra"), text, QMessageBox::NoButton, &window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    return box;
}

void tell(MainWindow& window, const QString& text) { openBox(window, QMessageBox::Warning, text)->open(); }

// The name the file would get if moved aside today, for the question.
QString asideName(const std::string& path) {
    const std::string date = localDateText();
    return QFileInfo(QString::fromStdString(unreadableName(path, date))).fileName();
}

}  // namespace

QMessageBox* askOpenElsewhere(MainWindow& window, pid_t holderPid) {
    const QString doc = QString::fromStdString(window.paths().docPath);
    const QString who = holderPid > 0
                            ? QCoreApplication::translate("celestra::DocumentQuestions", " (process %1)").arg(holderPid)
                            : QString();
    QMessageBox* box =
        openBox(window, QMessageBox::Question,
                QCoreApplication::translate("celestra::DocumentQuestions",
                                            "The document %1 is open in another Celestra%2.\n\n"
                                            "Open it here read-only (nothing of this session is saved), or quit?")
                    .arg(doc, who));
    QPushButton* readOnly = box->addButton(QCoreApplication::translate("celestra::DocumentQuestions", "Open Read-Only"),
                                           QMessageBox::AcceptRole);
    QPushButton* quit =
        box->addButton(QCoreApplication::translate("celestra::DocumentQuestions", "Quit"), QMessageBox::RejectRole);
    box->setDefaultButton(readOnly);
    box->setEscapeButton(quit);
    QObject::connect(box, &QMessageBox::finished, &window, [box, quit, &window] {
        if (box->clickedButton() == quit) window.close();
    });
    box->open();
    return box;
}

QMessageBox* askAboutKeptFiles(MainWindow& window, const QString& documentProblem, const QString& colorsProblem) {
    const WriteAccess& access = window.writeAccess();
    const bool document = access.keepDocument;
    const std::string& kept = document ? window.paths().docPath : window.paths().colorsPath;
    const QString text = document
                             ? QCoreApplication::translate(
                                   "celestra::DocumentQuestions",
                                   "Celestra cannot read its document.\n\n%1\n\n"
                                   "The file is kept as it is: nothing of this session is saved over it. Move it "
                                   "aside (to %2) and start a new document, or save this session under a new name?")
                                   .arg(documentProblem, asideName(kept))
                             : QCoreApplication::translate(
                                   "celestra::DocumentQuestions",
                                   "Celestra cannot read its colour file.\n\n%1\n\n"
                                   "The file is kept as it is and the colours are not saved. Move it aside (to %2) "
                                   "so that they are?")
                                   .arg(colorsProblem, asideName(kept));
    QMessageBox* box = openBox(window, QMessageBox::Warning, text);
    if (document && access.keepColors)
        box->setInformativeText(
            QCoreApplication::translate("celestra::DocumentQuestions",
                                        "Its colour file cannot be read either; it is kept too:\n%1")
                .arg(colorsProblem));
    QPushButton* aside = box->addButton(QCoreApplication::translate("celestra::DocumentQuestions", "Move Aside"),
                                        QMessageBox::ActionRole);
    QPushButton* saveAs = document
                              ? box->addButton(QCoreApplication::translate("celestra::DocumentQuestions", "Save As..."),
                                               QMessageBox::ActionRole)
                              : nullptr;
    QPushButton* keep =
        box->addButton(document ? QCoreApplication::translate("celestra::DocumentQuestions", "Don't Save")
                                : QCoreApplication::translate("celestra::DocumentQuestions", "Keep"),
                       QMessageBox::RejectRole);
    box->setDefaultButton(keep);
    box->setEscapeButton(keep);
    QObject::connect(box, &QMessageBox::finished, &window, [box, aside, saveAs, document, &window] {
        if (box->clickedButton() == aside) {
            QString error;
            if (!window.moveKeptFilesAside(error)) tell(window, error);
            else if (document) window.openFirstStartPage();
        } else if (saveAs && box->clickedButton() == saveAs) {
            askSessionName(window);
        }
    });
    box->open();
    return box;
}

QFileDialog* askSessionName(MainWindow& window) {
    const QString folder = QFileInfo(QString::fromStdString(window.paths().docPath)).absolutePath();
    auto* dialog =
        new QFileDialog(&window, QCoreApplication::translate("celestra::DocumentQuestions", "Save Session As"), folder,
                        QCoreApplication::translate("celestra::DocumentQuestions", "Celestra documents (*.clj)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("clj"));
    dialog->selectFile(QStringLiteral("Celestra-%1.clj").arg(QString::fromStdString(localDateText())));
    QObject::connect(dialog, &QFileDialog::fileSelected, &window, [&window](const QString& file) {
        QString error;
        if (!window.saveSessionAs(file, error)) tell(window, error);
    });
    dialog->open();
    return dialog;
}

}  // namespace celestra
