#pragma once

#include <QString>

// What a text can be found by: the text itself in lower case, and for Han characters
// their pinyin in full and by initials ("王小明" → "wangxiaoming" and "wxm").
namespace PinyinKeys {

// "" when the text holds no Han character (the text itself is then the only key).
QString of(const QString &text);
// The same keys, each followed by "\x1f", appended to `keys`; nothing when the text holds no Han.
void appendTo(QString &keys, const QString &text);

// The pinyin syllable of one Han character, lower-case ASCII; empty for anything else.
const QString &syllable(char32_t codePoint);

}  // namespace PinyinKeys
