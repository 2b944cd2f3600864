#include "file_text.h"

#include <QStringDecoder>

namespace lapwerk {

QString DecodeFileText(const std::string& text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(QByteArrayView(text.data(), qsizetype(text.size())));
    if (!utf8.hasError()) {
        return decoded;
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace lapwerk
