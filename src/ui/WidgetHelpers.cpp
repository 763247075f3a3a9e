#include "ui/WidgetHelpers.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QToolButton>

// Q_INIT_RESOURCE declares the registration function where it stands, so it must stand
// outside any namespace.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace stipple::ui {

void registerResources() {
    static const bool registered = (initResources(), true);
    (void)registered;
}

QSettings programSettings() {
    return QSettings(QStringLiteral("stippleworkshop"), QStringLiteral("stippleworkshop"));
}

void useWindowFont(QWidget* window) {
    QFont base = window->font();
    base.setPixelSize(kWindowFontPixels);
    base.setHintingPreference(QFont::PreferNoHinting);
    window->setFont(base);
}

void setUpFixedWindow(QWidget* window, const char* name, const char* caption, int width,
                      int height) {
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(QString::fromLatin1(caption));
    window->setFixedSize(width, height);
    useWindowFont(window);
}

QFont boldFont(const QWidget* parent) {
    QFont bold = parent->font();
    bold.setBold(true);
    return bold;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QPoint at) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromUtf8(name));
    l->adjustSize();
    l->move(at);
    return l;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QPoint at, const QFont& font,
              const QColor& colour) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromUtf8(name));
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    l->adjustSize();
    l->move(at);
    return l;
}

QToolButton* speedButton(QWidget* parent, const char* name, const QRect& geometry) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(geometry);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QToolButton* glyphButton(QWidget* parent, const char* name, const QRect& geometry, Glyph glyph,
                         const char* hint) {
    QToolButton* b = speedButton(parent, name, geometry);
    b->setIcon(glyphIcon(glyph));
    b->setIconSize(QSize(16, 16));
    if (hint != nullptr) {
        b->setToolTip(QString::fromUtf8(hint));
    }
    return b;
}

QPushButton* pushButton(QWidget* parent, const char* name, const char* text,
                        const QRect& geometry) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(geometry);
    return b;
}

void setUpFileDialog(QFileDialog& dialog, const char* name, QFileDialog::AcceptMode mode,
                     QFileDialog::Options options, const QStringList& filters,
                     const QString& suffix) {
    dialog.setObjectName(QString::fromUtf8(name));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOptions(options | QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(filters);
    if (!suffix.isEmpty()) {
        dialog.setDefaultSuffix(suffix);
    }
}

std::optional<QString> chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace stipple::ui
