#include "ui/download_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "app/http_download_qt.h"

namespace celestra {

CDownloadDlg::CDownloadDlg(QWidget* owner, const QString& server, const QString& remotePath, const QString& localPath)
    : QDialog(owner), server_(server), remotePath_(remotePath), localPath_(localPath), job_(std::make_shared<Job>()) {
    setWindowTitle(tr("Downloading File..."));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    name_ = new QLabel(QString::fromStdString(downloadShownName(remotePath.toStdString())), this);
    status_ = new QLabel(tr("Initiating download..."), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    layout->addWidget(name_);
    layout->addWidget(status_);
    layout->addWidget(cancel);
    connect(cancel, &QPushButton::clicked, this, &CDownloadDlg::reject);
    poll_ = new QTimer(this);
    poll_->setInterval(30);
    connect(poll_, &QTimer::timeout, this, &CDownloadDlg::poll);
}

CDownloadDlg::~CDownloadDlg() {
    // Closed without OK or Cancel (destroyed while running): stop and let go of the worker.
    if (!ended_ && started_) {
        job_->runState = 2;
        job_->stop = true;
        if (worker_ && !worker_->wait(kWorkerWaitMs)) {
            worker_->setParent(nullptr);
            connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
            worker_ = nullptr;
        }
    }
    delete worker_;
}

QString CDownloadDlg::shownName() const { return name_->text(); }
QString CDownloadDlg::statusText() const { return status_->text(); }

void CDownloadDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The transfer starts once the dialog is up, from a posted call.
    if (!started_) QMetaObject::invokeMethod(this, &CDownloadDlg::startTransfer, Qt::QueuedConnection);
}

void CDownloadDlg::startTransfer() {
    if (started_ || ended_) return;
    started_ = true;
    job_->runState = 1;
    const std::shared_ptr<Job> job = job_;
    const std::string server = server_.toStdString(), path = remotePath_.toStdString(),
                      local = localPath_.toStdString();
    // The worker touches only the shared job, never the dialog, so it may outlive it.
    worker_ = QThread::create([job, server, path, local] {
        const auto progress = [&job](int percent, bool) {
            if (job->runState.load() != 1) return false;
            job->percent = percent;
            return true;
        };
        const bool ok = !server.empty() && httpDownloadToFile(server, path, local, progress, &job->stop);
        job->result = ok;
        job->done = true;
    });
    worker_->start();
    poll_->start();
}

void CDownloadDlg::poll() {
    const int percent = job_->percent.load();
    if (percent != shownPercent_ && percent >= 0) {
        shownPercent_ = percent;
        status_->setText(tr("%1% complete").arg(percent));
        status_->repaint();
    }
    if (job_->done.load()) endTransfer();
}

void CDownloadDlg::reject() {
    if (!started_) {
        ended_ = true;
        QDialog::reject();
        return;
    }
    endTransfer();
}

void CDownloadDlg::endTransfer() {
    if (ended_) return;
    ended_ = true;
    poll_->stop();
    job_->runState = 2;
    if (!job_->done.load()) job_->stop = true;
    if (worker_->wait(kWorkerWaitMs)) {
        delete worker_;
        worker_ = nullptr;
    } else {
        worker_->setParent(nullptr);
        connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
        worker_ = nullptr;
    }
    result_ = job_->done.load() && job_->result.load();
    done(result_ ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace celestra
