// The program's help (HTML compiled into the program) in a window of its
// own, and the "About..." box.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace celestra {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows a topic: "index", "chart", "keys", "time", "place", "general",
    // "info", "find", "orrery", "navigation". An unknown topic shows the index.
    void showTopic(const QString& topic);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

// The About box's text: version, licence, data credits.
QString aboutText();

}  // namespace celestra
