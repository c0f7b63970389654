#include "app/gui/Application.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QToolTip>
#include <QTranslator>

#include <array>
#include <clocale>
#include <locale>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "app/core/AppIcon.h"
#include "document/core/StateFolder.h"

namespace cofferon {

namespace {

// What the file dialog shows that the toolkit's Chinese catalogue lacks: the
// kinds of entry in its type column.
class CatalogueGaps : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        static const std::pair<const char*, const char*> kGaps[] = {
            {"Folder", "文件夹"}, {"File Folder", "文件夹"}, {"Drive", "驱动器"},
            {"Alias", "别名"},    {"Shortcut", "快捷方式"},  {"Unknown", "未知"},
        };
        for (const auto& [english, chinese] : kGaps) {
            if (qstrcmp(source, english) == 0)
                return QString::fromUtf8(chinese);
        }
        return QString();
    }
};

// Without the translations installed the toolkit keeps its English texts.
void loadToolkitTranslations(QApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QApplication::installTranslator(translator);
    QApplication::installTranslator(new CatalogueGaps(&application));
}

// The toolkit takes its system locale from these variables while the
// application object is made, whether or not the C library has the locale:
// LC_ALL beats every other variable, and LANGUAGE would still pick the
// languages of the texts.
constexpr std::array<std::pair<const char*, const char*>, 2> kChineseVariables = {{
    {"LC_ALL", "zh_CN.UTF-8"},
    {"LANGUAGE", "zh_CN"},
}};

// The user's own values of those variables (nullopt: unset), to be put back
// once the toolkit has read them; empty where the C library has the Chinese
// locale and keeps it.
std::vector<std::pair<const char*, std::optional<QByteArray>>>& usersVariables()
{
    static std::vector<std::pair<const char*, std::optional<QByteArray>>> saved;
    return saved;
}

bool hasLocale(const char* name)
{
    try {
        std::locale{name};
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

// The toolkit has read its locale: the C library takes the user's again.
void restoreUsersLocale()
{
    if (usersVariables().empty())
        return;
    for (const auto& [name, value] : usersVariables())
        value ? qputenv(name, *value) : qunsetenv(name);
    usersVariables().clear();
    std::setlocale(LC_ALL, "");
}

}  // namespace

void preferChineseLocale()
{
    // Without the Chinese locale the C library would fall back to plain C,
    // whose texts are not UTF-8: window titles and input methods suffer.
    if (!hasLocale(kChineseVariables[0].second)) {
        for (const auto& [name, chinese] : kChineseVariables)
            usersVariables().emplace_back(
                name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    for (const auto& [name, chinese] : kChineseVariables)
        qputenv(name, chinese);
}

void setUpApplication(QApplication& application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    application.setFont(font);
    // Tooltips look like the game's: light text on a dark box.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(0x10, 0x00, 0x10));
    tips.setColor(QPalette::ToolTipText, QColor(0xFF, 0xFF, 0xFF));
    QToolTip::setPalette(tips);

    restoreUsersLocale();
    // What the program formats itself, and file types and the like.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    loadToolkitTranslations(application);
    // A desktop's own file and colour dialogs would speak the desktop's
    // language; the toolkit's speak ours.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    QCoreApplication::setApplicationVersion(QStringLiteral(COFFERON_VERSION));
    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kAppIconName.data(), qsizetype(kAppIconName.size())));
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : kAppIconSizes) {
        const RgbaImage chest = chestIcon(size);
        const QImage image(chest.pixels.data(), size, size, size * 4, QImage::Format_RGBA8888);
        icon.addPixmap(QPixmap::fromImage(image.copy()));
    }
    return icon;
}

QString stateFolderPath()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    return QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation) + QStringLiteral("/cofferon");
#else
    return QFile::decodeName(QByteArray::fromStdString(xdgStateFolder()));
#endif
}

QString userIconFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/cofferon/items");
}

}  // namespace cofferon
