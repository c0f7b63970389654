#pragma once

// Every file dialog, message box and input box goes through this interface,
// so the windows can be driven by a script in tests.

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace cofferon {

enum class MessageIcon { Information, Warning };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // `filter` is "description|pattern". nullopt when the user cancels.
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& filter) = 0;
    virtual std::optional<QString> saveFileName(QWidget* parent, const QString& filter) = 0;
    // An existing folder; nullopt when the user cancels.
    virtual std::optional<QString> folderName(QWidget* parent) = 0;

    // Modal, one OK button.
    virtual void message(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon) = 0;

    // nullopt when the user cancels. In integer mode only digits can be
    // typed, but an empty text can still be confirmed.
    virtual std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                             const QString& initial, bool integerOnly) = 0;

    // nullopt when the user cancels.
    virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) = 0;

    // Modal, with the buttons in this order: the index of the one chosen.
    // Return chooses `defaultButton`; Esc and closing the box choose `escapeButton`.
    virtual int question(QWidget* parent, const QString& caption, const QString& text, const QStringList& buttons,
                         int defaultButton, int escapeButton) = 0;
};

// The toolkit's own dialogs.
class QtDialogs : public Dialogs {
public:
    std::optional<QString> openFileName(QWidget* parent, const QString& filter) override;
    std::optional<QString> saveFileName(QWidget* parent, const QString& filter) override;
    std::optional<QString> folderName(QWidget* parent) override;
    void message(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon) override;
    std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                     const QString& initial, bool integerOnly) override;
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) override;
    int question(QWidget* parent, const QString& caption, const QString& text, const QStringList& buttons,
                 int defaultButton, int escapeButton) override;
};

// "yaml(*.yml)|*.yml" in the toolkit's filter form.
QString toolkitFilter(const QString& filter);

// The captions of the two message boxes.
QString errorCaption();
QString messageCaption();

}  // namespace cofferon
