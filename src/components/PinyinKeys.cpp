#include "PinyinKeys.h"

#include <QHash>
#include <algorithm>
#include <memory>
#include <unicode/translit.h>
#include <unicode/uscript.h>

namespace PinyinKeys {

namespace {

bool isHan(char32_t c)
{
    UErrorCode status = U_ZERO_ERROR;
    return uscript_getScript(UChar32(c), &status) == USCRIPT_HAN && U_SUCCESS(status);
}

icu::Transliterator *toLatin()
{
    static std::unique_ptr<icu::Transliterator> t = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> made(
            icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return t.get();
}

}  // namespace

const QString &syllable(char32_t codePoint)
{
    // One transliteration per distinct character for the whole run: a list of names repeats few.
    static QHash<char32_t, QString> cache;
    const auto hit = cache.constFind(codePoint);
    if (hit != cache.constEnd())
        return *hit;
    QString out;
    if (isHan(codePoint)) {
        if (icu::Transliterator *t = toLatin()) {
            icu::UnicodeString s{UChar32(codePoint)};
            t->transliterate(s);
            for (int32_t i = 0; i < s.length(); ++i) {
                const char16_t ch = s.charAt(i);
                if (ch < 128 && QChar(ch).isLetter())
                    out += QChar(ch).toLower();
            }
        }
    }
    return *cache.insert(codePoint, out);
}

QString of(const QString &text)
{
    QString out;
    appendTo(out, text);
    if (!out.isEmpty())
        out.chop(1);
    return out;
}

void appendTo(QString &keys, const QString &text)
{
    // Han characters all lie above U+2E80: text without one needs no keys.
    const bool anyWide = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0x2E80; });
    if (!anyWide)
        return;
    thread_local QString full;
    thread_local QString initials;
    full.clear();
    initials.clear();
    bool anyHan = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        char32_t code = c.unicode();
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (pair)
            code = QChar::surrogateToUcs4(c, text.at(i + 1));
        const QString &py = code >= 0x2E80 ? syllable(code) : QString();
        if (!py.isEmpty()) {
            anyHan = true;
            full += py;
            initials += py.at(0);
        } else {
            const QChar lower = pair ? c : c.toLower();
            full += lower;
            initials += lower;
            if (pair) {
                full += text.at(i + 1);
                initials += text.at(i + 1);
            }
        }
        if (pair)
            ++i;
    }
    if (!anyHan)
        return;
    keys += full;
    keys += u'\x1f';
    keys += initials;
    keys += u'\x1f';
}

}  // namespace PinyinKeys
