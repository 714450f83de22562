#include "platform/application.h"

#include <QApplication>
#include <QFont>

namespace qv::app {

void prepare() {
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QFont f = QApplication::font();
    f.setFamilies({QString::fromLatin1(kWindowFontFamily)});
    f.setStyleHint(QFont::SansSerif);
    QApplication::setFont(f);
}

}  // namespace qv::app
