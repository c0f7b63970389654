#pragma once

#include <QDialog>

#include <functional>

#include "document/core/Document.h"

class QCheckBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace cofferon {

class ColourPicker;
class Dialogs;
struct CommandAction;
struct Enchantment;

// The slot editor: edits the current slot of the document, filled from its
// record when it opens and written back by "保存".
class SlotEditor : public QDialog {
    Q_OBJECT

public:
    // `stored` runs after a successful store with the slot number, so the
    // main window can redraw that slot's cell and the preview.
    SlotEditor(Document& document, Dialogs& dialogs, std::function<void(int slot)> stored, QWidget* parent = nullptr);
    ~SlotEditor() override;

    // The box that the insert menu writes into; nullptr until one of the
    // name, lore and command boxes has had the focus.
    QWidget* insertTarget() const { return m_insertTarget; }

    // Returns false (and leaves everything as typed) when the item ID is refused.
    bool storeSlotEditor();

    void appendCommandAction(const CommandAction& action);
    void addEnchantment(const Enchantment& enchantment);
    void insertPlaceholder(const QString& placeholder);
    void pasteFormatCode(const QString& code);
    void openItemPicker();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void loadSlotEditor();
    void connectMenus();
    bool handleRightButton(QPoint windowPosition, QPoint globalPosition);
    QWidget* insertBoxAt(QPoint windowPosition) const;

    Document& m_document;
    Dialogs& m_dialogs;
    std::function<void(int)> m_stored;
    QWidget* m_insertTarget = nullptr;
    bool m_windowFilterInstalled = false;

    QLineEdit* m_name = nullptr;
    QLineEdit* m_id = nullptr;
    QLineEdit* m_money = nullptr;
    QLineEdit* m_point = nullptr;
    QLineEdit* m_exp = nullptr;
    QLineEdit* m_item = nullptr;
    QLineEdit* m_amount = nullptr;
    QLineEdit* m_permission = nullptr;
    QLineEdit* m_viewPermission = nullptr;
    QLineEdit* m_head = nullptr;
    QCheckBox* m_keepOpen = nullptr;
    QCheckBox* m_colourOn = nullptr;
    ColourPicker* m_colour = nullptr;
    QPlainTextEdit* m_lore = nullptr;
    QPlainTextEdit* m_command = nullptr;
    QPlainTextEdit* m_enchants = nullptr;
    QMenu* m_insertMenu = nullptr;
};

// Multi-line boxes hold "\r\n" line breaks in the document whatever the widget uses.
QString multiLineToWidget(const std::string& text);
std::string multiLineFromWidget(const QPlainTextEdit* box);

}  // namespace cofferon
