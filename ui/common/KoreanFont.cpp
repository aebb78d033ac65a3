#include "ui/common/KoreanFont.h"

#include <QStringList>

QFont KoreanFont(qreal points, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Gulim"), QStringLiteral("굴림"), QStringLiteral("NanumGothic"),
                      QStringLiteral("Noto Sans CJK KR")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
