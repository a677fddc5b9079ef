#include "textbox/LineEnds.h"

#include "textbox/TextCodec.h"

#include <QByteArray>

#include <array>
#include <string_view>

namespace {

struct Form
{
    LineEnd end;
    std::u16string_view text;
    std::string_view utf8;
};

// Longer ends before the ends they begin with, so that a search takes the longest that fits.
constexpr std::array<Form, 6> table{{
    {LineEnd::CrLf, u"\r\n", "\r\n"},
    {LineEnd::Lf, u"\n", "\n"},
    {LineEnd::Cr, u"\r", "\r"},
    {LineEnd::ParagraphSeparator, u"\u2029", "\xE2\x80\xA9"},
    {LineEnd::Fdd0, u"\uFDD0", "\xEF\xB7\x90"},
    {LineEnd::Fdd1, u"\uFDD1", "\xEF\xB7\x91"},
}};

constexpr size_t encodingCount = 5;

const Form &formOf(LineEnd end)
{
    for (const Form &form : table) {
        if (form.end == end)
            return form;
    }
    return table[1];
}

QStringView textOf(const Form &form)
{
    return QStringView(form.text.data(), qsizetype(form.text.size()));
}

// Every end's bytes in every encoding, and the bytes an end may begin with.
struct Encoded
{
    std::array<std::array<QByteArray, table.size()>, encodingCount> bytes;
    std::array<std::array<bool, 256>, encodingCount> firstBytes{};

    Encoded()
    {
        for (size_t e = 0; e < encodingCount; ++e) {
            const auto encoding = TextEncoding(e);
            for (size_t i = 0; i < table.size(); ++i) {
                const Form &form = table[i];
                QByteArray &out = bytes[e][i];
                if (encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8WithBom)
                    out = QByteArray(form.utf8.data(), qsizetype(form.utf8.size()));
                else
                    out = TextCodec::encodeText(textOf(form), encoding).value_or(QByteArray());
                if (!out.isEmpty())
                    firstBytes[e][uchar(out.at(0))] = true;
            }
        }
    }
};

const Encoded &encoded()
{
    static const Encoded all;
    return all;
}

} // namespace

namespace LineEnds {

QStringView text(LineEnd end)
{
    return textOf(formOf(end));
}

QByteArrayView bytes(LineEnd end, TextEncoding encoding)
{
    return encoded().bytes[size_t(encoding)][size_t(&formOf(end) - table.data())];
}

const std::array<bool, 256> &firstBytes(TextEncoding encoding)
{
    return encoded().firstBytes[size_t(encoding)];
}

std::optional<Found> at(QByteArrayView bytes, TextEncoding encoding)
{
    const auto &forms = encoded().bytes[size_t(encoding)];
    for (size_t i = 0; i < table.size(); ++i) {
        const QByteArray &form = forms[i];
        if (!form.isEmpty() && bytes.startsWith(form))
            return Found{table[i].end, form.size()};
    }
    return std::nullopt;
}

bool mayBeginWith(char32_t ch)
{
    for (const Form &form : table) {
        if (form.text[0] == ch)
            return true;
    }
    return false;
}

std::optional<LineEnd> startingWith(char32_t ch)
{
    for (const Form &form : table) {
        if (form.text.size() == 1 && form.text[0] == ch)
            return form.end;
    }
    return std::nullopt;
}

bool joins(char32_t first, char32_t second)
{
    for (const Form &form : table) {
        if (form.text.size() == 2 && form.text[0] == first && form.text[1] == second)
            return true;
    }
    return false;
}

} // namespace LineEnds
