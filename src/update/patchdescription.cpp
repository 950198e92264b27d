#include "update/patchdescription.h"

#include <cstdio>

namespace update {
namespace {

constexpr std::size_t kMaxDateChars = 11;
constexpr std::size_t kMaxAddressChars = 249;

// The text between `open` and the next `close` inside `scope`; none when either is missing.
std::optional<std::string_view> element(std::string_view scope, std::string_view open, std::string_view close)
{
    const std::size_t start = scope.find(open);
    if (start == std::string_view::npos)
        return std::nullopt;
    const std::size_t from = start + open.size();
    const std::size_t end = scope.find(close, from);
    if (end == std::string_view::npos)
        return std::nullopt;
    return scope.substr(from, end - from);
}

// The attribute value after `name` (which ends in the opening quote), up to the next
// quotation mark or the end of the attributes, at most `limit` characters.
std::string_view attribute(std::string_view attributes, std::string_view name, std::size_t limit)
{
    const std::size_t start = attributes.find(name);
    if (start == std::string_view::npos)
        return {};
    std::string_view value = attributes.substr(start + name.size());
    value = value.substr(0, value.find('"'));
    return value.substr(0, limit);
}

// A decimal number; 0 when there is none or it does not fit 32 bits.
int decimal(std::string_view text)
{
    long long value = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 0x7FFFFFFF)
            return 0;
    }
    return i == 0 ? 0 : int(value);
}

std::string_view dateOr(std::string_view date, std::string_view fallback) { return date.empty() ? fallback : date; }

struct Recommendation {
    int number;
    std::string_view content;
};

std::optional<Recommendation> chooseRecommendation(std::string_view product, std::string_view compileDate)
{
    static constexpr std::string_view kOpen = "<recommendation";
    static constexpr std::string_view kClose = "</recommendation>";
    std::optional<Recommendation> chosen;
    std::size_t pos = 0;
    while ((pos = product.find(kOpen, pos)) != std::string_view::npos) {
        const std::size_t tagEnd = product.find('>', pos + kOpen.size());
        if (tagEnd == std::string_view::npos)
            break;
        const std::size_t close = product.find(kClose, tagEnd + 1);
        if (close == std::string_view::npos)
            break;
        const std::string_view attributes = product.substr(pos + kOpen.size(), tagEnd - pos - kOpen.size());
        const int number = decimal(attribute(attributes, "update_number=\"", std::string_view::npos));
        const std::string_view from = dateOr(attribute(attributes, "from=\"", kMaxDateChars), "0000_00_00");
        const std::string_view to = dateOr(attribute(attributes, "to=\"", kMaxDateChars), "9999_99_99");
        // Byte-wise comparison of the sortable date texts.
        if (from <= compileDate && compileDate < to && (!chosen || number > chosen->number))
            chosen = Recommendation{number, product.substr(tagEnd + 1, close - tagEnd - 1)};
        pos = close + kClose.size();
    }
    return chosen;
}

std::string address(std::string_view content, std::string_view open, std::string_view close)
{
    const auto text = element(content, open, close);
    return text ? std::string(text->substr(0, kMaxAddressChars)) : std::string();
}

}  // namespace

std::optional<UpdateOffer> chooseUpdate(std::string_view description, std::string_view compileDate, int language)
{
    if (description.size() > kMaxDescriptionBytes)
        description = description.substr(0, kMaxDescriptionBytes);
    char productTag[64];
    std::snprintf(productTag, sizeof productTag, "<product class=\"%s\" key=\"%i\">", "TAVRIN", kProgramKey);
    const auto product = element(description, productTag, "</product>");
    if (!product)
        return std::nullopt;
    const auto recommendation = chooseRecommendation(*product, compileDate);
    if (!recommendation)
        return std::nullopt;

    UpdateOffer offer;
    offer.number = recommendation->number;
    const std::string_view content = recommendation->content;
    const bool czech = language == lang::Czech;
    std::optional<std::string_view> text;
    if (czech)
        text = element(content, "<czech>", "</czech>");
    if (!text)
        text = element(content, "<english>", "</english>");
    if (text) {
        offer.description = std::string(*text);
    } else {
        char fallback[96];
        std::snprintf(fallback, sizeof fallback, "Korvelan patch %s Key=%i Ver=%i", "TAVRIN", kProgramKey,
                      offer.number);
        offer.description = fallback;
    }
    offer.richText = offer.description.find("{\\rtf1") != std::string::npos;
    if (czech)
        offer.webAddress = address(content, "<web_cz>", "</web_cz>");
    if (offer.webAddress.empty())
        offer.webAddress = address(content, "<web>", "</web>");
    offer.downloadAddress = address(content, "<download>", "</download>");
    return offer;
}

const lang::LangText& downloadNote(std::string_view downloadAddress)
{
    static const lang::LangText kInstaller{
        "###After downloading run new installer.####Po stažení spusťte nový instalátor."};
    static const lang::LangText kProgram{
        "###After downloading store new version to suitable location instead of current version.####"
        "Po stažení novou verzi uložte do vhodné lokace namísto stávající verze."};
    return downloadAddress.find("setup") != std::string_view::npos ? kInstaller : kProgram;
}

}  // namespace update
