#include "support/SoakDriver.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>

#include <cstdio>
#include <utility>

#include "support/CrashTrail.h"

namespace cofferon::test {

namespace {

constexpr int kTrailLength = 12;
// A run that cannot close its windows again within this many steps is stuck.
constexpr int kWindDownLimit = 200;

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* name;
    int weight;
};

const std::vector<Key>& editingKeys()
{
    static const std::vector<Key> keys = {
        {Qt::Key_V, Qt::ControlModifier, "Ctrl+V", 6},
        {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z", 3},
        {Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y", 2},
        {Qt::Key_S, Qt::ControlModifier, "Ctrl+S", 1},
        {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+S", 1},
        {Qt::Key_O, Qt::ControlModifier, "Ctrl+O", 1},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Z", 1},
        {Qt::Key_A, Qt::ControlModifier, "Ctrl+A", 3},
        {Qt::Key_C, Qt::ControlModifier, "Ctrl+C", 2},
        {Qt::Key_X, Qt::ControlModifier, "Ctrl+X", 2},
        {Qt::Key_Insert, Qt::ShiftModifier, "Shift+Insert", 1},
        {Qt::Key_Insert, Qt::ControlModifier, "Ctrl+Insert", 1},
        {Qt::Key_Delete, Qt::ShiftModifier, "Shift+Delete", 1},
        {Qt::Key_Delete, Qt::NoModifier, "Delete", 3},
        {Qt::Key_Backspace, Qt::NoModifier, "Backspace", 4},
        {Qt::Key_Tab, Qt::NoModifier, "Tab", 4},
        {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab", 3},
        {Qt::Key_Escape, Qt::NoModifier, "Esc", 4},
        {Qt::Key_Return, Qt::NoModifier, "Enter", 3},
        {Qt::Key_Enter, Qt::KeypadModifier, "keypad Enter", 1},
        {Qt::Key_Return, Qt::ControlModifier, "Ctrl+Enter", 1},
        {Qt::Key_Left, Qt::NoModifier, "Left", 2},
        {Qt::Key_Right, Qt::NoModifier, "Right", 2},
        {Qt::Key_Up, Qt::NoModifier, "Up", 2},
        {Qt::Key_Down, Qt::NoModifier, "Down", 2},
        {Qt::Key_Left, Qt::ShiftModifier, "Shift+Left", 1},
        {Qt::Key_End, Qt::ShiftModifier, "Shift+End", 1},
        {Qt::Key_Home, Qt::NoModifier, "Home", 1},
        {Qt::Key_End, Qt::NoModifier, "End", 1},
        {Qt::Key_PageUp, Qt::NoModifier, "PageUp", 1},
        {Qt::Key_PageDown, Qt::NoModifier, "PageDown", 1},
        {Qt::Key_Space, Qt::NoModifier, "Space", 2},
        {Qt::Key_F4, Qt::NoModifier, "F4", 1},
        {Qt::Key_Down, Qt::AltModifier, "Alt+Down", 1},
        {Qt::Key_Menu, Qt::NoModifier, "Menu", 1},
    };
    return keys;
}

QString widgetName(const QWidget* widget)
{
    QString name = widget->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(widget->metaObject()->className());
    // The toolkit's inner parts are told by the control they belong to.
    if (name.startsWith(QStringLiteral("qt_")) || name.startsWith(QLatin1Char('Q'))) {
        for (const QWidget* owner = widget->parentWidget(); owner && !owner->isWindow();
             owner = owner->parentWidget()) {
            if (!owner->objectName().isEmpty() && !owner->objectName().startsWith(QStringLiteral("qt_")))
                return owner->objectName() + QLatin1Char('/') + name;
        }
    }
    return name;
}

QString focusName()
{
    const auto* widget = qobject_cast<const QWidget*>(QGuiApplication::focusObject());
    return widget ? widgetName(widget) : QStringLiteral("nothing");
}

// QTest's own key click keeps no guard while it presses the modifiers, and
// a popup may close and go away on any of those presses.
void keyClick(QWindow* target, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    static const std::pair<Qt::KeyboardModifier, Qt::Key> modifierKeys[] = {
        {Qt::ShiftModifier, Qt::Key_Shift}, {Qt::ControlModifier, Qt::Key_Control}, {Qt::AltModifier, Qt::Key_Alt}};
    QPointer<QWindow> window = target;
    Qt::KeyboardModifiers held;
    for (const auto& [modifier, modifierKey] : modifierKeys) {
        if ((modifiers & modifier) && window) {
            QTest::simulateEvent(window, true, modifierKey, held, QString(), false);
            held |= modifier;
        }
    }
    if (window)
        QTest::simulateEvent(window, true, key, modifiers, text, false);
    if (window)
        QTest::simulateEvent(window, false, key, modifiers, text, false);
    for (const auto& [modifier, modifierKey] : modifierKeys) {
        if ((modifiers & modifier) && window) {
            held &= ~modifier;
            QTest::simulateEvent(window, false, modifierKey, held, QString(), false);
        }
    }
}

QString pointText(QPoint point)
{
    return QStringLiteral("(%1,%2)").arg(point.x()).arg(point.y());
}

Qt::MouseButton mouseButton(SoakDriver& driver, QString& name)
{
    const int roll = driver.between(1, 100);
    if (roll <= 75) {
        name = QStringLiteral("left");
        return Qt::LeftButton;
    }
    if (roll <= 95) {
        name = QStringLiteral("right");
        return Qt::RightButton;
    }
    name = QStringLiteral("middle");
    return Qt::MiddleButton;
}

QtMessageHandler previousMessageHandler = nullptr;

// The offscreen platform says so each time a popup opens; thousands of
// those lines would bury what matters.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message == QStringLiteral("This plugin does not support raise()") ||
        message == QStringLiteral("This plugin does not support grabbing the keyboard") ||
        message == QStringLiteral("This plugin does not support grabbing the mouse"))
        return;
    previousMessageHandler(type, context, message);
}

}  // namespace

QString printable(QString text, qsizetype longest)
{
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.isSurrogate())
            c = QChar(0x2423);  // visible stand-in, so the trail stays one line
    }
    if (text.size() > longest)
        text = text.left(longest) + QStringLiteral("…(%1)").arg(text.size());
    return text;
}

SoakDriver::SoakDriver(std::uint32_t seed, int events, QWidget* mainWindow)
    : m_random(seed), m_values(seed), m_events(events), m_main(mainWindow)
{
    m_header = QStringLiteral("soak seed %1, %2 events").arg(seed).arg(events).toUtf8();
    // Now and then what no file may hold: a control character, a lone surrogate.
    m_values.setRates(0.1, 0.0);
    m_trace = qEnvironmentVariableIntValue("COFFERON_SOAK_TRACE") != 0;
}

int SoakDriver::between(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

bool SoakDriver::chance(int percent)
{
    return between(1, 100) <= percent;
}

void SoakDriver::run()
{
    installCrashTrail();
    previousMessageHandler = qInstallMessageHandler(quietMessages);
    qApp->installEventFilter(this);
    m_baseLevel = QThread::currentThread()->loopLevel() + 1;
    schedule();
    m_loop.exec();
    qApp->removeEventFilter(this);
    qInstallMessageHandler(previousMessageHandler);
}

void SoakDriver::schedule()
{
    QTimer::singleShot(0, this, [this] { step(); });
}

void SoakDriver::step()
{
    const int level = QThread::currentThread()->loopLevel();
    // Called back from the processEvents() inside one of our own actions:
    // wait for that action to finish. Inside a modal loop the action opened,
    // the level is higher and the run goes on.
    if (m_acting && level <= m_actionLevel) {
        schedule();
        return;
    }
    if (!m_failure.isEmpty() || m_started >= m_events)
        return windDown(level);
    if (!watchWindows())
        return windDown(level);

    QWidget* top = topWidget();
    ++m_tops[label(top)];
    const int number = ++m_started;
    if (m_trace || number % 10000 == 0)
        std::printf("soak event %d on %s\n", number, qPrintable(label(top)));

    // A window manager activates a window that is clicked; there is none
    // offscreen, so the driver does it when the top window lost activation.
    std::function<QString()> action;
    const bool activate =
        top->windowType() != Qt::Popup && QGuiApplication::focusWindow() != top->windowHandle() && m_activated != top;
    m_activated = activate ? top : nullptr;
    if (activate) {
        action = [this, top] {
            note(QStringLiteral("activate"));
            top->activateWindow();
            return QStringLiteral("activate");
        };
    } else {
        struct Choice {
            int weight;
            std::function<QString()> act;
        };
        std::vector<Choice> choices = {
            {28, [&] { return click(top); }},       {9, [&] { return doubleClick(top); }},
            {6, [&] { return drag(top); }},         {4, [&] { return hover(top); }},
            {3, [&] { return wheel(top); }},        {20, [&] { return typeText(top); }},
            {20, [&] { return pressKey(top); }},    {2, [&] { return commitText(top); }},
            {4, [&] { return changeClipboard(); }}, {3, [&] { return drop(top); }},
            {3, [&] { return closeWindow(top); }},
        };
        for (const auto& [weight, extra] : extraActions)
            choices.push_back({weight, extra});
        int total = 0;
        for (const Choice& choice : choices)
            total += choice.weight;
        int roll = between(1, total);
        for (const Choice& choice : choices) {
            roll -= choice.weight;
            if (roll <= 0) {
                action = choice.act;
                break;
            }
        }
    }

    // The next step is queued before acting: an action that opens a modal
    // window returns only when that window closes, and the run must go on
    // inside it.
    schedule();
    const bool wasActing = std::exchange(m_acting, true);
    const int wasLevel = std::exchange(m_actionLevel, level);
    const QString bare = QStringLiteral("event %1 on %2: ").arg(number).arg(label(top));
    m_trail << bare;
    const QString what = action();
    ++m_actions[what];
    // An action that found nothing to do described itself only by its result.
    if (const qsizetype entry = m_trail.indexOf(bare); entry >= 0) {
        m_trail[entry] += what;
        note(QString());
    }
    m_acting = wasActing;
    m_actionLevel = wasLevel;

    if (m_failure.isEmpty() && check) {
        if (const QString broken = check(); !broken.isEmpty())
            fail(QStringLiteral("after event %1 (%2): %3").arg(number).arg(what, broken));
    }
}

void SoakDriver::note(const QString& what)
{
    // The action is described before it runs, so a crash inside it is told
    // with the event that caused it.
    if (!what.isEmpty())
        m_trail.back() += what;
    while (m_trail.size() > kTrailLength)
        m_trail.removeFirst();
    QByteArray text = "\n" + m_header + "; the last events:\n";
    for (const QString& line : std::as_const(m_trail))
        text += "  " + line.toUtf8() + "\n";
    setCrashTrail(text);
    if (m_trace && !what.isEmpty())
        std::printf("  %s\n", qPrintable(what));
}

void SoakDriver::windDown(int level)
{
    if (++m_windDownSteps > kWindDownLimit) {
        if (m_failure.isEmpty())
            fail(QStringLiteral("the windows could not be closed again"));
        m_loop.quit();
        return;
    }
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return schedule();
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        return schedule();
    }
    // Closed windows end their loops once this step has returned.
    if (level > m_baseLevel)
        return schedule();
    m_loop.quit();
}

void SoakDriver::fail(const QString& why)
{
    if (!m_failure.isEmpty())
        return;
    m_failure = QString::fromUtf8(m_header) + QStringLiteral(": ") + printable(why, 400) +
        QStringLiteral("\nthe last events:\n  ") + m_trail.join(QStringLiteral("\n  "));
}

bool SoakDriver::eventFilter(QObject* watched, QEvent* event)
{
    // Caught when it is shown, before any input can reach it: a real file
    // dialog would create, rename and delete files.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && expectedWindow && !expectedWindow(widget)) {
            fail(QStringLiteral("unexpected window %1 \"%2\"")
                     .arg(QString::fromLatin1(widget->metaObject()->className()), widget->windowTitle()));
            QTimer::singleShot(0, widget, [widget] {
                if (auto* dialog = qobject_cast<QDialog*>(widget))
                    dialog->reject();
                else
                    widget->close();
            });
        }
    }
    return false;
}

bool SoakDriver::watchWindows()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && expectedWindow && !expectedWindow(widget)) {
            fail(QStringLiteral("unexpected window %1").arg(QString::fromLatin1(widget->metaObject()->className())));
            return false;
        }
    }
    return true;
}

QWidget* SoakDriver::topWidget() const
{
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_main;
}

QString SoakDriver::label(const QWidget* widget) const
{
    if (widget == m_main)
        return QStringLiteral("main window");
    // Submenus by their path, and the edit boxes' own menus by their box.
    QString name = widgetName(widget);
    if (!qobject_cast<const QMenu*>(widget))
        return name;
    const QWidget* parent = widget->parentWidget();
    for (; qobject_cast<const QMenu*>(parent); parent = parent->parentWidget())
        name = widgetName(parent) + QLatin1Char('/') + name;
    if (widget->objectName().isEmpty() || widget->objectName().startsWith(QStringLiteral("qt_"))) {
        while (parent && (parent->objectName().isEmpty() || parent->objectName().startsWith(QStringLiteral("qt_"))))
            parent = parent->parentWidget();
        name = QStringLiteral("context menu of ") + (parent ? widgetName(parent) : QStringLiteral("nothing"));
    }
    return name;
}

QPoint SoakDriver::randomPoint(QWidget* top, QString& inside)
{
    if (auto* menu = qobject_cast<QMenu*>(top)) {
        const QList<QAction*> actions = menu->actions();
        if (!actions.isEmpty() && chance(85)) {
            QAction* action = actions[between(0, static_cast<int>(actions.size()) - 1)];
            const QRect area = menu->actionGeometry(action);
            inside = QStringLiteral("entry \"%1\"").arg(action->text());
            if (area.isEmpty())
                return QPoint(between(0, top->width() - 1), between(0, top->height() - 1));
            return QPoint(between(area.left(), area.right()), between(area.top(), area.bottom()));
        }
    }
    // Half of the time each visible widget is as likely as any other; else
    // siblings of one class count as one, so that 54 cells of a grid do not
    // crowd out the buttons beside them.
    std::vector<QWidget*> visible{top};
    std::vector<std::vector<QWidget*>> kinds;  // in the order of the widget tree, for replays
    std::map<std::pair<const QObject*, QString>, std::size_t> kindOf;
    for (QWidget* child : top->findChildren<QWidget*>()) {
        if (child->isVisible() && child->window() == top) {
            visible.push_back(child);
            const auto [at, added] = kindOf.try_emplace(
                {child->parent(), QString::fromLatin1(child->metaObject()->className())}, kinds.size());
            if (added)
                kinds.emplace_back();
            kinds[at->second].push_back(child);
        }
    }
    QWidget* target = kinds.empty() || chance(50) ? pick(visible) : pick(pick(kinds));
    // Only the part that its parents do not clip can be hit.
    QRect area(target->mapTo(top, QPoint(0, 0)), target->size());
    for (QWidget* parent = target->parentWidget(); parent && target != top; parent = parent->parentWidget()) {
        area &= QRect(parent->mapTo(top, QPoint(0, 0)), parent->size());
        if (parent == top)
            break;
    }
    if (area.isEmpty())
        area = top->rect();
    const QPoint point(between(area.left(), area.right()), between(area.top(), area.bottom()));
    QWidget* hit = top->childAt(point);
    inside = widgetName(hit ? hit : top);
    return point;
}

QString SoakDriver::click(QWidget* top)
{
    QString button;
    const Qt::MouseButton which = mouseButton(*this, button);
    QString inside;
    QPoint at = randomPoint(top, inside);
    // Now and then a popup is dismissed by a click beside it.
    if (top->windowType() == Qt::Popup && chance(8)) {
        at = QPoint(-between(1, 30), -between(1, 30));
        inside = QStringLiteral("outside");
    }
    const Qt::KeyboardModifiers modifiers =
        chance(10) ? (chance(50) ? Qt::ShiftModifier : Qt::ControlModifier) : Qt::NoModifier;
    note(QStringLiteral("click %1 %2 %3%4")
             .arg(button, inside, pointText(at), modifiers ? QStringLiteral(" +mod") : QString()));
    QTest::mouseClick(top->windowHandle(), which, modifiers, at);
    return QStringLiteral("click %1").arg(button);
}

QString SoakDriver::doubleClick(QWidget* top)
{
    const Qt::MouseButton which = chance(90) ? Qt::LeftButton : Qt::RightButton;
    QString inside;
    const QPoint at = randomPoint(top, inside);
    note(QStringLiteral("double-click %1 %2").arg(inside, pointText(at)));
    QTest::mouseDClick(top->windowHandle(), which, {}, at);
    return QStringLiteral("double-click");
}

QString SoakDriver::drag(QWidget* top)
{
    QString from;
    QString to;
    const QPoint start = randomPoint(top, from);
    const QPoint end = chance(70) ? randomPoint(top, to) : start + QPoint(between(-40, 40), between(-20, 20));
    const Qt::MouseButton which = chance(85) ? Qt::LeftButton : Qt::RightButton;
    note(QStringLiteral("drag %1 %2 to %3").arg(from, pointText(start), pointText(end)));
    QPointer<QWindow> window = top->windowHandle();
    QTest::mousePress(window, which, {}, start);
    const int moves = between(1, 4);
    for (int i = 1; i <= moves && window; ++i)
        QTest::mouseMove(window, start + (end - start) * i / moves);
    if (window)
        QTest::mouseRelease(window, which, {}, end);
    return QStringLiteral("drag");
}

QString SoakDriver::hover(QWidget* top)
{
    QString inside;
    const QPoint at = randomPoint(top, inside);
    note(QStringLiteral("hover %1 %2").arg(inside, pointText(at)));
    QTest::mouseMove(top->windowHandle(), at);
    return QStringLiteral("hover");
}

QString SoakDriver::wheel(QWidget* top)
{
    QString inside;
    const QPoint at = randomPoint(top, inside);
    QWidget* target = top->childAt(at);
    if (!target)
        target = top;
    const int notches = chance(50) ? between(1, 3) : -between(1, 3);
    note(QStringLiteral("wheel %1 %2 %3").arg(inside).arg(notches).arg(pointText(at)));
    QWheelEvent event(target->mapFrom(top, QPointF(at)), top->mapToGlobal(QPointF(at)), QPoint(),
                      QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
    return QStringLiteral("wheel");
}

QString SoakDriver::typeText(QWidget* top)
{
    QString text = randomText(chance(20));
    if (text.size() > 24)
        text.truncate(24);
    note(QStringLiteral("type \"%1\" into %2").arg(printable(text), focusName()));
    QPointer<QWindow> window = top->windowHandle();
    // A key that closes the window or opens another over it (space on 取消 or
    // on "+") ends the typing: keys only ever reach the active window.
    for (qsizetype i = 0; i < text.size() && window && window == QGuiApplication::focusWindow(); ++i) {
        QString typed(text[i]);
        // A character outside the basic plane comes as one key press.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            typed += text[++i];
        const char16_t code = typed[0].unicode();
        Qt::Key key = Qt::Key_unknown;
        if (code >= 0x20 && code < 0x7f)
            key = QTest::asciiToKey(static_cast<char>(code));
        else if (code == '\r' || code == '\n')
            key = Qt::Key_Return;
        else if (code == '\t')
            key = Qt::Key_Tab;
        keyClick(window, key, Qt::NoModifier, typed);
    }
    return QStringLiteral("type");
}

QString SoakDriver::pressKey(QWidget* top)
{
    int total = 0;
    for (const Key& key : editingKeys())
        total += key.weight;
    int roll = between(1, total);
    const Key* chosen = &editingKeys().front();
    for (const Key& key : editingKeys()) {
        roll -= key.weight;
        if (roll <= 0) {
            chosen = &key;
            break;
        }
    }
    note(QStringLiteral("key %1 in %2").arg(QString::fromLatin1(chosen->name), focusName()));
    const char ascii = QTest::keyToAscii(chosen->key);
    keyClick(top->windowHandle(), chosen->key, chosen->modifiers, ascii ? QString(QLatin1Char(ascii)) : QString());
    return QStringLiteral("key %1").arg(QString::fromLatin1(chosen->name));
}

QString SoakDriver::commitText(QWidget* top)
{
    QObject* focus = QGuiApplication::focusObject();
    auto* widget = qobject_cast<QWidget*>(focus);
    if (!widget || widget->window() != top)
        return QStringLiteral("commit (no focus)");
    const QString text = randomText(false);
    note(QStringLiteral("commit \"%1\" to %2").arg(printable(text), widgetName(widget)));
    // As an input method does: a pre-edit text first, then the committed one.
    QInputMethodEvent preedit(text.left(2), {});
    QCoreApplication::sendEvent(widget, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(widget, &commit);
    return QStringLiteral("commit");
}

QString SoakDriver::changeClipboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (chance(10)) {
        note(QStringLiteral("clipboard cleared"));
        clipboard->clear();
        return QStringLiteral("clipboard cleared");
    }
    QString description;
    QMimeData* data = randomMimeData(description);
    note(QStringLiteral("clipboard %1").arg(description));
    clipboard->setMimeData(data);
    return QStringLiteral("clipboard %1").arg(description.section(QLatin1Char(' '), 0, 0));
}

QString SoakDriver::drop(QWidget* top)
{
    QString inside;
    const QPoint at = randomPoint(top, inside);
    QWidget* target = top->childAt(at);
    if (!target)
        target = top;
    while (target && !target->acceptDrops() && target != top)
        target = target->parentWidget();
    if (!target || !target->acceptDrops())
        return QStringLiteral("drop (nowhere)");
    QString description;
    std::unique_ptr<QMimeData> data(randomMimeData(description));
    const QPoint local = target->mapFrom(top, at);
    const Qt::DropActions actions = chance(50) ? Qt::CopyAction : (Qt::CopyAction | Qt::MoveAction);
    note(QStringLiteral("drop %1 on %2 %3").arg(description, widgetName(target), pointText(local)));
    QPointer<QWidget> alive = target;
    QDragEnterEvent enter(local, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!alive || !enter.isAccepted())
        return QStringLiteral("drop refused");
    const QPoint moved = local + QPoint(between(-5, 5), between(-5, 5));
    QDragMoveEvent move(moved, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    if (!alive)
        return QStringLiteral("drop moved");
    if (chance(15)) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        return QStringLiteral("drop left");
    }
    QDropEvent dropped(QPointF(moved), actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
    return QStringLiteral("drop");
}

QString SoakDriver::closeWindow(QWidget* top)
{
    // What the close box of a window's frame sends; the main window is left
    // open, closing it would end the program.
    if (top == m_main || top->windowType() == Qt::Popup)
        return QStringLiteral("close (none)");
    note(QStringLiteral("close box of %1").arg(label(top)));
    QCloseEvent event;
    QCoreApplication::sendEvent(top->windowHandle(), &event);
    return QStringLiteral("close");
}

QString SoakDriver::randomText(bool multiLine)
{
    const std::u16string text = m_values.typed(multiLine);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QMimeData* SoakDriver::randomMimeData(QString& description)
{
    auto* data = new QMimeData;
    const int roll = between(1, 100);
    if (roll <= 55) {
        const QString text = randomText(chance(50));
        data->setText(text);
        description = QStringLiteral("text \"%1\"").arg(printable(text));
    } else if (roll <= 62) {
        data->setText(QString());
        description = QStringLiteral("empty text");
    } else if (roll <= 77) {
        // Another program may own the clipboard and offer nothing at all.
        description = QStringLiteral("no data");
    } else if (roll <= 85) {
        data->setHtml(QStringLiteral("<b>%1</b><br>x").arg(randomText(false).toHtmlEscaped()));
        description = QStringLiteral("html only");
    } else if (roll <= 92) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        data->setImageData(image);
        description = QStringLiteral("image only");
    } else {
        data->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.ini")),
                       QUrl(QStringLiteral("file:///nonexistent/menu.yml"))});
        description = QStringLiteral("urls only");
    }
    return data;
}

}  // namespace cofferon::test
