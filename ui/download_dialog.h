// The modal download dialog: "Downloading File..." with the file's name, a
// status line and "Cancel", over a worker thread that runs
// httpDownloadToFile. exec() returns QDialog::Accepted when the file
// arrived whole and QDialog::Rejected otherwise (cancelled or failed).
#pragma once

#include <QDialog>
#include <QString>
#include <atomic>
#include <memory>

class QLabel;
class QThread;
class QTimer;

namespace celestra {

class CDownloadDlg : public QDialog {
    Q_OBJECT
public:
    // How long the dialog waits for the worker after OK or Cancel, ms.
    static constexpr int kWorkerWaitMs = 5000;

    // server: the server address (empty: the transfer fails at once, as
    // there is nowhere to fetch from); remotePath without a leading "/".
    CDownloadDlg(QWidget* owner, const QString& server, const QString& remotePath, const QString& localPath);
    ~CDownloadDlg() override;

    QString shownName() const;
    QString statusText() const;
    bool succeeded() const { return result_; }

public slots:
    void reject() override;  // Cancel

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void startTransfer();
    void poll();

private:
    struct Job {
        std::atomic<int> runState{0};  // 1 running; 2 once the dialog asks it to stop
        std::atomic<int> percent{-1};
        std::atomic<bool> stop{false};
        std::atomic<bool> done{false};
        std::atomic<bool> result{false};
    };
    void endTransfer();

    QString server_, remotePath_, localPath_;
    QLabel* name_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* poll_ = nullptr;
    QThread* worker_ = nullptr;
    std::shared_ptr<Job> job_;
    int shownPercent_ = -1;
    bool started_ = false;
    bool ended_ = false;
    bool result_ = false;
};

}  // namespace celestra
