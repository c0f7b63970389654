#pragma once

// Random input for the windows: clicks, double-clicks, drags, wheel turns,
// typed text, editing keys, input-method commits, clipboard changes and
// drops, each a real event delivered to whatever is on top (the active
// popup, else the active modal window, else the main window). One action is
// done per turn of the event loop, so the driver keeps going inside the
// modal loops that its own clicks open.

#include <QEventLoop>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <vector>

#include "support/AwkwardValues.h"

class QMimeData;
class QWidget;

namespace cofferon::test {

class SoakDriver : public QObject {
public:
    SoakDriver(std::uint32_t seed, int events, QWidget* mainWindow);

    // Decides whether a top-level widget may be shown at all; anything else
    // fails the run and is closed before any input reaches it.
    std::function<bool(const QWidget*)> expectedWindow;
    // Runs after every action; a non-empty text is a broken invariant.
    std::function<QString()> check;
    // Extra actions of the program under test, chosen with the given weight;
    // each returns what it did.
    std::vector<std::pair<int, std::function<QString()>>> extraActions;

    // Returns when every action is done and every popup and modal window is
    // closed again, or after the first failure.
    void run();

    QString failure() const { return m_failure; }
    // How often each window or popup was on top, and each kind of action done.
    const std::map<QString, int>& tops() const { return m_tops; }
    const std::map<QString, int>& actions() const { return m_actions; }
    int eventsDone() const { return m_started; }

    int between(int low, int high);  // both included
    bool chance(int percent);
    template <typename T>
    const T& pick(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(items.size()) - 1))];
    }

    // Text as a user or another program might produce it.
    QString randomText(bool multiLine);
    // Clipboard or drag contents: text, nothing at all, HTML, a picture or URLs.
    QMimeData* randomMimeData(QString& description);

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void schedule();
    void step();
    void windDown(int level);
    void fail(const QString& why);
    void note(const QString& what);
    bool watchWindows();
    QWidget* topWidget() const;
    QString label(const QWidget* widget) const;

    QString click(QWidget* top);
    QString doubleClick(QWidget* top);
    QString drag(QWidget* top);
    QString hover(QWidget* top);
    QString wheel(QWidget* top);
    QString typeText(QWidget* top);
    QString pressKey(QWidget* top);
    QString commitText(QWidget* top);
    QString changeClipboard();
    QString drop(QWidget* top);
    QString closeWindow(QWidget* top);

    // A random point, in `top`'s coordinates, on a random visible part of it;
    // `inside` names the widget hit.
    QPoint randomPoint(QWidget* top, QString& inside);

    std::mt19937 m_random;
    AwkwardValues m_values;
    int m_events;
    QWidget* m_main;
    QEventLoop m_loop;
    int m_baseLevel = 0;
    bool m_acting = false;
    int m_actionLevel = 0;
    int m_started = 0;
    int m_windDownSteps = 0;
    const QWidget* m_activated = nullptr;  // once, not again and again
    QString m_failure;
    QStringList m_trail;
    QByteArray m_header;
    bool m_trace = false;
    std::map<QString, int> m_tops;
    std::map<QString, int> m_actions;
};

// The text on one line, control characters and lone surrogates made
// visible, cut after `longest` characters.
QString printable(QString text, qsizetype longest = 40);

}  // namespace cofferon::test
