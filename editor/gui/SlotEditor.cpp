#include "editor/gui/SlotEditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QWindow>

#include "document/core/ItemId.h"
#include "document/core/Text.h"
#include "editor/core/InsertMenus.h"
#include "editor/core/SlotEditorLayout.h"
#include "editor/core/SlotEditorText.h"
#include "editor/gui/MenuIconPictures.h"
#include "menufile/core/MenuValues.h"
#include "preview/gui/ItemPicker.h"
#include "ui/gui/ColourPicker.h"
#include "ui/gui/Dialogs.h"
#include "ui/gui/DocText.h"
#include "ui/gui/InputHints.h"
#include "ui/gui/LayoutBuilder.h"
#include "ui/gui/TextBoxes.h"

namespace cofferon {

namespace {

// A hint box reads as empty while it shows its hint.
std::string readBox(const QLineEdit* box)
{
    return showsHint(box) ? std::string() : qtToDoc(boxText(box));
}

void showIfSet(QLineEdit* box, const std::string& value)
{
    if (!value.empty())
        setValue(box, docToQt(value));
}

// "所需金钱有误" and what the box takes, in the words of its hint.
QString priceRefusal(const QLineEdit* box, NumberKind kind)
{
    QString name = hintText(box);
    name.truncate(name.indexOf(QLatin1Char('(')));
    return name + QStringLiteral("有误:") +
        (kind == NumberKind::Decimal ? QStringLiteral("只能填写整数或小数,如 100、-5、2.5")
                                     : QStringLiteral("只能填写整数,如 100、-5"));
}

void appendLine(QPlainTextEdit* box, const QString& line)
{
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QLatin1Char('\n') + line);
    box->setTextCursor(cursor);
}

}  // namespace

QString multiLineToWidget(const std::string& text)
{
    return docToQt(replaceText(text, "\r\n", "\n"));
}

std::string multiLineFromWidget(const QPlainTextEdit* box)
{
    // The raw text, since the plain text turns no-break spaces into blanks.
    // Paragraphs end in U+2029 there, and Shift+Enter gives U+2028.
    QString lines = box->document()->toRawText();
    lines.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    lines.replace(QChar::LineSeparator, QLatin1Char('\n'));
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return replaceText(qtToDoc(lines), "\n", "\r\n");
}

SlotEditor::SlotEditor(Document& document, Dialogs& dialogs, std::function<void(int)> stored, QWidget* parent)
    : QDialog(parent), m_document(document), m_dialogs(dialogs), m_stored(std::move(stored))
{
    const layout::Window& layout = layout::slotEditorLayout();
    applyWindowFrame(this, layout);
    buildControls(this, layout);
    buildMenus(this, layout, &menuIcon);
    setModal(true);

    m_name = builtControl<QLineEdit>(this, "物品名称");
    m_id = builtControl<QLineEdit>(this, "物品ID");
    m_money = builtControl<QLineEdit>(this, "扣除金钱");
    m_point = builtControl<QLineEdit>(this, "扣除点券");
    m_exp = builtControl<QLineEdit>(this, "扣除经验");
    m_item = builtControl<QLineEdit>(this, "扣除物品");
    m_amount = builtControl<QLineEdit>(this, "物品数量");
    m_permission = builtControl<QLineEdit>(this, "使用权限");
    m_viewPermission = builtControl<QLineEdit>(this, "查看权限");
    m_head = builtControl<QLineEdit>(this, "头颅名称");
    m_keepOpen = builtControl<QCheckBox>(this, "保持开启");
    m_colourOn = builtControl<QCheckBox>(this, "皮甲颜色");
    m_colour = builtControl<ColourPicker>(this, "颜色选择");
    m_lore = builtControl<QPlainTextEdit>(this, "Lore");
    m_command = builtControl<QPlainTextEdit>(this, "指令");
    m_enchants = builtControl<QPlainTextEdit>(this, "附魔");
    m_insertMenu = builtControl<QMenu>(this, "插入项目");

    // The three insert boxes become the target on focus; their own context
    // menus give way to the insert menu.
    for (QWidget* box :
         {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_lore), static_cast<QWidget*>(m_command)}) {
        box->installEventFilter(this);
        box->setContextMenuPolicy(Qt::PreventContextMenu);
    }
    m_lore->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    m_command->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);

    connect(builtControl<QPushButton>(this, "保存"), &QPushButton::clicked, this, &SlotEditor::storeSlotEditor);
    connect(builtControl<QPushButton>(this, "取消"), &QPushButton::clicked, this, &QDialog::reject);
    connect(builtControl<QPushButton>(this, "按钮1"), &QPushButton::clicked, this, &SlotEditor::openItemPicker);
    connect(m_colour, &QPushButton::clicked, this, [this] {
        if (const auto chosen = m_dialogs.chooseColour(this, m_colour->colour()))
            m_colour->setColour(*chosen);
    });
    connectMenus();

    loadSlotEditor();
}

SlotEditor::~SlotEditor()
{
    if (m_windowFilterInstalled && windowHandle())
        windowHandle()->removeEventFilter(this);
}

void SlotEditor::connectMenus()
{
    auto* commands = builtControl<QMenu>(this, "指令列表");
    connect(builtControl<QPushButton>(this, "菜单按钮"), &QPushButton::clicked, this,
            [commands] { commands->popup(QCursor::pos()); });
    for (const CommandAction& action : commandActions()) {
        connect(commands->findChild<QAction*>(programText(action.caption)), &QAction::triggered, this,
                [this, &action] { appendCommandAction(action); });
    }

    auto* enchantments = builtControl<QMenu>(this, "附魔列表");
    connect(builtControl<QPushButton>(this, "按钮2"), &QPushButton::clicked, this,
            [enchantments] { enchantments->popup(QCursor::pos()); });
    for (const EnchantmentGroup& group : enchantmentGroups()) {
        for (const Enchantment& enchantment : group.enchantments) {
            connect(enchantments->findChild<QAction*>(programText(enchantment.caption)), &QAction::triggered, this,
                    [this, &enchantment] { addEnchantment(enchantment); });
        }
    }

    for (const InsertPiece& piece : placeholders()) {
        connect(m_insertMenu->findChild<QAction*>(programText(piece.caption)), &QAction::triggered, this,
                [this, &piece] { insertPlaceholder(programText(piece.text)); });
    }
    for (auto codes : {colourCodes(), effectCodes()}) {
        for (const InsertPiece& piece : codes) {
            connect(m_insertMenu->findChild<QAction*>(programText(piece.caption)), &QAction::triggered, this,
                    [this, &piece] { pasteFormatCode(programText(piece.text)); });
        }
    }
}

void SlotEditor::loadSlotEditor()
{
    const SlotRecord& r = m_document.slots[m_document.currentSlot];
    showIfSet(m_name, r.name);
    showIfSet(m_id, r.id);
    showIfSet(m_money, r.money);
    showIfSet(m_exp, r.exp);
    showIfSet(m_point, r.point);
    if (!r.item.empty() && !r.amount.empty()) {
        setValue(m_item, docToQt(r.item));
        setValue(m_amount, docToQt(r.amount));
    }
    showIfSet(m_permission, r.permission);
    showIfSet(m_viewPermission, r.viewPermission);
    showIfSet(m_head, r.head);
    m_keepOpen->setChecked(r.keepOpen == "true");
    m_lore->setPlainText(multiLineToWidget(r.lore));
    m_command->setPlainText(multiLineToWidget(r.command));
    m_enchants->setPlainText(multiLineToWidget(r.enchants));
    if (!r.color.empty()) {
        m_colourOn->setChecked(true);
        m_colour->setValue(pickerValue(colourFromText(r.color)));
    }
}

bool SlotEditor::storeSlotEditor()
{
    if (showsHint(m_id) || !isValidItemId(qtToDoc(boxText(m_id)))) {
        m_dialogs.message(this, errorCaption(), QStringLiteral("物品ID有误"), MessageIcon::Warning);
        return false;
    }
    // A price the menu file cannot hold as a number is refused here, where
    // the user can still mend it, rather than by the export.
    const std::pair<QLineEdit*, NumberKind> prices[] = {
        {m_money, NumberKind::Decimal}, {m_point, NumberKind::Integer}, {m_exp, NumberKind::Integer}};
    for (const auto& [box, kind] : prices) {
        if (!showsHint(box) && !isMenuNumber(qtToDoc(boxText(box)), kind)) {
            m_dialogs.message(this, errorCaption(), priceRefusal(box, kind), MessageIcon::Warning);
            return false;
        }
    }
    SlotRecord& r = m_document.slots[m_document.currentSlot];
    r.id = qtToDoc(boxText(m_id));
    if (m_colourOn->isChecked()) {
        // The picker's value holds red in its lowest byte, then green, then blue.
        const unsigned value = m_colour->value();
        r.color = colourText({static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
                              static_cast<std::uint8_t>((value >> 16) & 0xFF)});
    } else {
        r.color.clear();
    }
    r.name = readBox(m_name);
    r.money = readBox(m_money);
    r.point = readBox(m_point);
    r.exp = readBox(m_exp);
    const std::string item = readBox(m_item);
    const std::string amount = readBox(m_amount);
    const bool itemSet =
        !showsHint(m_item) && !showsHint(m_amount) && textToInteger(item) >= 1 && textToInteger(amount) >= 1;
    r.item = itemSet ? item : std::string();
    r.amount = itemSet ? amount : std::string();
    r.permission = readBox(m_permission);
    r.viewPermission = readBox(m_viewPermission);
    r.head = readBox(m_head);
    r.keepOpen = m_keepOpen->isChecked() ? "true" : "false";
    r.lore = dropBlankLines(multiLineFromWidget(m_lore));
    r.command = dropBlankLines(multiLineFromWidget(m_command));
    r.enchants = dropBlankLines(multiLineFromWidget(m_enchants));
    // The cell picture follows from the stored record, and then the preview.
    if (m_stored)
        m_stored(m_document.currentSlot);
    accept();
    return true;
}

void SlotEditor::appendCommandAction(const CommandAction& action)
{
    const auto entered = m_dialogs.inputText(this, programText(kParameterCaption), programText(action.prompt),
                                             QString(), action.integerOnly);
    if (!entered)
        return;
    appendLine(m_command, programText(action.prefix) + *entered);
}

void SlotEditor::addEnchantment(const Enchantment& enchantment)
{
    const QString name = programText(enchantment.name);
    if (enchantment.maxLevel == 1) {
        appendLine(m_enchants, name);
        return;
    }
    const auto level =
        m_dialogs.inputText(this, programText(kParameterCaption), programText(kLevelPrompt), QString(), false);
    if (!level || !enchantmentLevelAccepted(qtToDoc(*level), enchantment.maxLevel))
        return;
    appendLine(m_enchants, name + QStringLiteral(", ") + *level);
}

void SlotEditor::insertPlaceholder(const QString& placeholder)
{
    // The placeholder goes in at the start of the selection; the selected text stays.
    if (auto* line = qobject_cast<QLineEdit*>(m_insertTarget)) {
        if (line->isReadOnly())
            return;  // a value too long to edit in place
        dropHint(line);
        const int at = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        const QString text = line->text();
        line->setText(text.left(at) + placeholder + text.mid(at));
        line->setCursorPosition(at + static_cast<int>(placeholder.size()));
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(m_insertTarget)) {
        QTextCursor cursor = box->textCursor();
        const int at = cursor.selectionStart();
        cursor.setPosition(at);
        cursor.insertText(placeholder);
        box->setTextCursor(cursor);
    }
}

void SlotEditor::pasteFormatCode(const QString& code)
{
    // Through the system clipboard, so the box replaces its selection as any paste does.
    QGuiApplication::clipboard()->setText(code);
    if (!m_insertTarget)
        return;
    m_insertTarget->activateWindow();
    if (auto* line = qobject_cast<QLineEdit*>(m_insertTarget)) {
        dropHint(line);
        pasteOneLine(line);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(m_insertTarget)) {
        box->paste();  // the multi-line boxes refuse a clipboard without data
    }
}

void SlotEditor::openItemPicker()
{
    ItemPicker picker(m_document, this);
    if (picker.exec() == QDialog::Accepted)
        setValue(m_id, picker.pickedItemId());
}

QWidget* SlotEditor::insertBoxAt(QPoint windowPosition) const
{
    for (QWidget* widget = childAt(windowPosition); widget; widget = widget->parentWidget()) {
        if (widget == m_name || widget == m_lore || widget == m_command)
            return widget;
    }
    return nullptr;
}

bool SlotEditor::handleRightButton(QPoint windowPosition, QPoint globalPosition)
{
    QWidget* box = insertBoxAt(windowPosition);
    if (!box)
        return false;
    if (box == m_insertTarget)
        m_insertMenu->popup(globalPosition);
    return true;
}

bool SlotEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle()) {
        // Seen before the toolkit moves the focus on a press, so a right
        // click neither moves the focus nor changes the target.
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton)
                return handleRightButton(mouse->position().toPoint(), mouse->globalPosition().toPoint());
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn)
        m_insertTarget = qobject_cast<QWidget*>(watched);
    return false;
}

void SlotEditor::keyPressEvent(QKeyEvent* event)
{
    // Esc does not close the editor; only its buttons and close box do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SlotEditor::showEvent(QShowEvent* event)
{
    if (!m_windowFilterInstalled && windowHandle()) {
        windowHandle()->installEventFilter(this);
        m_windowFilterInstalled = true;
    }
    QDialog::showEvent(event);
}

}  // namespace cofferon
