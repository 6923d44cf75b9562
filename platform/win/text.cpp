// Text through Pango and Cairo: fonts from LOGFONTW (Windows face names map through fontconfig
// rules loaded at start to DejaVu Sans and WenQuanYi Micro Hei, Chinese falls back per
// character), TextOutW, ExtTextOutW, DrawTextW with its DT_ flags, extents and metrics.
// Glyph coverage is rendered into an 8-bit mask and blended into the target in the text colour;
// the destination's alpha byte is left as it was, so Cairo's alpha never leaks into skin pixels.
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/base/utf.h"
#include "platform/win/dc.h"
#include "platform/win/gdi_api.h"

using namespace vxwin;

namespace {

std::recursive_mutex& TextLock()
{
    static std::recursive_mutex m;
    return m;
}

const char* kFontRules = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same"><family>Tahoma</family><prefer><family>DejaVu Sans</family><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>Arial</family><prefer><family>DejaVu Sans</family><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>MS Sans Serif</family><prefer><family>DejaVu Sans</family><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>Microsoft Sans Serif</family><prefer><family>DejaVu Sans</family><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>MS Shell Dlg</family><prefer><family>DejaVu Sans</family><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>MS Shell Dlg 2</family><prefer><family>DejaVu Sans</family><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>Verdana</family><prefer><family>DejaVu Sans</family><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>Segoe UI</family><prefer><family>DejaVu Sans</family><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>Courier New</family><prefer><family>DejaVu Sans Mono</family><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>宋体</family><prefer><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>SimSun</family><prefer><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>新宋体</family><prefer><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>黑体</family><prefer><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>SimHei</family><prefer><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>微软雅黑</family><prefer><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias binding="same"><family>Microsoft YaHei</family><prefer><family>WenQuanYi Micro Hei</family></prefer></alias>
  <alias><family>sans-serif</family><prefer><family>DejaVu Sans</family><family>WenQuanYi Micro Hei</family></prefer></alias>
</fontconfig>
)";

PangoContext* Context()
{
    static PangoContext* ctx = [] {
        FcInit();
        FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(kFontRules), FcTrue);
        PangoFontMap* map = pango_cairo_font_map_new();
        pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(map), 96.0);
        PangoContext* c = pango_font_map_create_context(map);
        g_object_unref(map);
        pango_context_set_language(c, pango_language_from_string("zh-cn"));
        cairo_font_options_t* fo = cairo_font_options_create();
        cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_ON);
        cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_SLIGHT);
        pango_cairo_context_set_font_options(c, fo);
        cairo_font_options_destroy(fo);
        return c;
    }();
    return ctx;
}

// Pango takes valid UTF-8 only.
std::string ToUtf8(const wchar_t* s, size_t n) { return StringToUtf8(std::wstring_view(s, n), TUtf8Escapes::Replace); }

struct FontInfo {
    PangoFontDescription* desc = nullptr;
    unsigned id = 0;  // keys the layouts made with this font
    bool underline = false;
    bool strike = false;
    int ascent = 0, descent = 0, em = 0, aveWidth = 0, maxWidth = 0, weight = 400;
    bool italic = false;
    ~FontInfo()
    {
        if (desc) pango_font_description_free(desc);
    }
};

void Measure(FontInfo& fi)
{
    PangoFontMetrics* m = pango_context_get_metrics(Context(), fi.desc, pango_language_from_string("zh-cn"));
    fi.ascent = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(m));
    fi.descent = PANGO_PIXELS_CEIL(pango_font_metrics_get_descent(m));
    fi.aveWidth = PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(m));
    fi.maxWidth = std::max(fi.aveWidth, PANGO_PIXELS(pango_font_metrics_get_approximate_digit_width(m)) * 2);
    pango_font_metrics_unref(m);
}

// Fonts by what they look like (the LOGFONT fields that matter); resolving one asks fontconfig
// and Pango for metrics, so each is made once. Bounded: past the limit the cache starts over.
std::map<std::wstring, std::shared_ptr<FontInfo>>& FontCache()
{
    static std::map<std::wstring, std::shared_ptr<FontInfo>> m;
    return m;
}
constexpr size_t kMaxFonts = 64;

// Font of a DC as Pango sees it; the height follows LOGFONT: negative = character (em) height,
// positive = cell height (ascent + descent), 0 = the default 12 pixels.
std::shared_ptr<FontInfo> ResolveFont(const DcObj* dc)
{
    LOGFONTW lf;
    if (dc && dc->st.font)
        lf = dc->st.font->lf;
    else {
        lf.lfHeight = -12;
        std::wcscpy(lf.lfFaceName, L"Tahoma");
    }
    // The same font as the last call (the common case: one font for a whole list) skips the map.
    static LOGFONTW lastLf;
    static std::shared_ptr<FontInfo> last;
    if (last && std::memcmp(&lf, &lastLf, sizeof lf) == 0) return last;
    std::wstring key = lf.lfFaceName;
    key += L'|';
    key += std::to_wstring(lf.lfHeight) + L'|' + std::to_wstring(lf.lfWeight) + L'|' +
           static_cast<wchar_t>(L'0' + (lf.lfItalic ? 1 : 0) + (lf.lfUnderline ? 2 : 0) + (lf.lfStrikeOut ? 4 : 0));
    auto& cache = FontCache();
    if (auto it = cache.find(key); it != cache.end()) {
        lastLf = lf;
        last = it->second;
        return last;
    }
    static unsigned nextId = 1;
    auto fi = std::make_shared<FontInfo>();
    fi->id = nextId++;
    fi->desc = pango_font_description_new();
    std::string face = ToUtf8(lf.lfFaceName, std::wcslen(lf.lfFaceName));
    if (face.empty()) face = "Tahoma";
    pango_font_description_set_family(fi->desc, face.c_str());
    fi->weight = lf.lfWeight ? lf.lfWeight : 400;
    pango_font_description_set_weight(fi->desc, static_cast<PangoWeight>(std::clamp<int>(fi->weight, 100, 1000)));
    fi->italic = lf.lfItalic;
    if (lf.lfItalic) pango_font_description_set_style(fi->desc, PANGO_STYLE_ITALIC);
    fi->underline = lf.lfUnderline;
    fi->strike = lf.lfStrikeOut;
    int h = lf.lfHeight;
    int em = h < 0 ? -h : (h == 0 ? 12 : h);
    pango_font_description_set_absolute_size(fi->desc, em * PANGO_SCALE);
    Measure(*fi);
    if (h > 0 && fi->ascent + fi->descent > 0) {
        // Scale so that the cell height is the asked one.
        em = std::max(1, static_cast<int>(std::lround(double(h) * em / double(fi->ascent + fi->descent))));
        pango_font_description_set_absolute_size(fi->desc, em * PANGO_SCALE);
        Measure(*fi);
    }
    fi->em = em;
    if (cache.size() >= kMaxFonts) cache.clear();
    cache[key] = fi;
    lastLf = lf;
    last = fi;
    return fi;
}

PangoLayout* MakeLayout(const FontInfo& fi, const std::string& utf8, int underlineByte, int underlineLen)
{
    PangoLayout* lay = pango_layout_new(Context());
    pango_layout_set_font_description(lay, fi.desc);
    pango_layout_set_text(lay, utf8.c_str(), static_cast<int>(utf8.size()));
    PangoAttrList* attrs = pango_attr_list_new();
    if (fi.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (fi.strike) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    if (underlineByte >= 0) {
        PangoAttribute* a = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        a->start_index = static_cast<guint>(underlineByte);
        a->end_index = static_cast<guint>(underlineByte + underlineLen);
        pango_attr_list_insert(attrs, a);
    }
    pango_layout_set_attributes(lay, attrs);
    pango_attr_list_unref(attrs);
    return lay;
}

// A shaped line: its extents and, once drawn, its glyph coverage as an 8-bit mask whose (0, 0)
// lies at (left, top) relative to the line's origin.
struct ShapedLine {
    int width = 0;  // logical width
    int left = 0, top = 0, bw = 0, bh = 0, baseline = 0;
    PangoLayout* layout = nullptr;
    std::vector<unsigned char> mask;
    int maskStride = 0;
    bool rendered = false;
    ~ShapedLine()
    {
        if (layout) g_object_unref(layout);
    }
};

// Shaped lines by font, text and underlined character, least recently used dropped first; the
// masks count towards a byte budget as well. Measuring and drawing the same text again (list
// rows, labels, the ellipsis search) takes the cached line.
struct LineKey {
    unsigned font;
    int underline;
    bool rtl;
    std::wstring text;
    bool operator==(const LineKey& o) const
    {
        return font == o.font && underline == o.underline && rtl == o.rtl && text == o.text;
    }
};
struct LineKeyHash {
    size_t operator()(const LineKey& k) const
    {
        return std::hash<std::wstring>()(k.text) ^ (static_cast<size_t>(k.font) * 0x9E3779B97F4A7C15ull) ^
               static_cast<size_t>(k.underline + 1) ^ (k.rtl ? 0x100000u : 0u);
    }
};

class LineCache {
public:
    // rtl: the line reads right to left (DT_RTLREADING).
    std::shared_ptr<ShapedLine> Get(const FontInfo& fi, const std::wstring& s, int underlineChar, bool rtl = false)
    {
        LineKey key{fi.id, underlineChar, rtl, s};
        if (auto it = map_.find(key); it != map_.end()) {
            order_.splice(order_.begin(), order_, it->second.pos);
            return it->second.line;
        }
        auto line = std::make_shared<ShapedLine>();
        std::string u = ToUtf8(s.data(), s.size());
        int ub = -1, ul = 0;
        if (underlineChar >= 0 && underlineChar < static_cast<int>(s.size())) {
            ub = static_cast<int>(ToUtf8(s.data(), static_cast<size_t>(underlineChar)).size());
            ul = static_cast<int>(ToUtf8(s.data() + underlineChar, 1).size());
        }
        if (rtl) {
            // A leading right-to-left mark (zero width, strong) makes the paragraph's base
            // direction right to left.
            u.insert(0, "\xE2\x80\x8F");
            if (ub >= 0) ub += 3;
        }
        line->layout = MakeLayout(fi, u, ub, ul);
        PangoRectangle ink, logical;
        pango_layout_get_pixel_extents(line->layout, &ink, &logical);
        line->width = logical.width;
        line->baseline = PANGO_PIXELS(pango_layout_get_baseline(line->layout));
        // Box covering ink and logical extents.
        line->left = std::min(ink.x, logical.x) - 1;
        line->top = std::min(ink.y, logical.y) - 1;
        line->bw = std::max(ink.x + ink.width, logical.x + logical.width) + 1 - line->left;
        line->bh = std::max(ink.y + ink.height, logical.y + logical.height) + 1 - line->top;
        order_.push_front(key);
        map_[key] = Entry{line, order_.begin()};
        while (map_.size() > kMaxLines || (bytes_ > kMaxBytes && map_.size() > 1)) Drop();
        return line;
    }
    // Renders the line's mask once; the bytes count towards the budget.
    void Render(ShapedLine& line)
    {
        if (line.rendered) return;
        line.rendered = true;
        if (line.bw <= 0 || line.bh <= 0) return;
        line.maskStride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, line.bw);
        line.mask.assign(static_cast<size_t>(line.maskStride) * line.bh, 0);
        cairo_surface_t* mask =
            cairo_image_surface_create_for_data(line.mask.data(), CAIRO_FORMAT_A8, line.bw, line.bh, line.maskStride);
        cairo_t* cr = cairo_create(mask);
        cairo_translate(cr, -line.left, -line.top);
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
        pango_cairo_show_layout(cr, line.layout);
        cairo_destroy(cr);
        cairo_surface_flush(mask);
        cairo_surface_destroy(mask);
        bytes_ += line.mask.size();
    }

private:
    static constexpr size_t kMaxLines = 4096;
    static constexpr size_t kMaxBytes = 16u << 20;
    struct Entry {
        std::shared_ptr<ShapedLine> line;
        std::list<LineKey>::iterator pos;
    };
    void Drop()
    {
        auto it = map_.find(order_.back());
        bytes_ -= std::min(bytes_, it->second.line->mask.size());
        map_.erase(it);
        order_.pop_back();
    }
    std::unordered_map<LineKey, Entry, LineKeyHash> map_;
    std::list<LineKey> order_;
    size_t bytes_ = 0;
};

LineCache& Lines()
{
    static auto* c = new LineCache();
    return *c;
}

int TextWidth(const FontInfo& fi, const std::wstring& s)
{
    if (s.empty()) return 0;
    return Lines().Get(fi, s, -1)->width;
}

// Draws one line with its top-left at (x, y) in surface coordinates, clipped to the target's clip
// and to clipRect (surface coordinates) when given.
void DrawLine(const Target& t, const FontInfo& fi, const std::wstring& s, int x, int y, int width, COLORREF color,
              int underlineChar, bool opaque, COLORREF bk, const RECT* clipRect, bool rtl = false)
{
    int lineH = fi.ascent + fi.descent;
    if (opaque) {
        RECT bg{x, y, x + width, y + lineH};
        if (clipRect) bg = RectIntersect(bg, *clipRect);
        FillClipped(t, bg, ColorRefToArgb(bk), 13);
    }
    if (s.empty()) return;
    auto line = Lines().Get(fi, s, underlineChar, rtl);
    if (line->bw <= 0 || line->bh <= 0) return;
    // Placed so the baseline sits at y + ascent.
    int ox = x + line->left, oy = y + fi.ascent - line->baseline + line->top;
    RECT box{ox, oy, ox + line->bw, oy + line->bh};
    if (clipRect) box = RectIntersect(box, *clipRect);
    box = RectIntersect(box, t.clip.Bounds());
    if (RectEmpty(box)) return;
    Lines().Render(*line);
    const unsigned char* md = line->mask.data();
    int ms = line->maskStride;
    std::uint32_t c = ColorRefToArgb(ResolveColor(color));
    std::uint32_t cr8 = (c >> 16) & 255, cg = (c >> 8) & 255, cb = c & 255;
    bool direct = t.s->bpp == 32;
    for (const auto& band : t.clip.Bands()) {
        if (band.bottom <= box.top) continue;
        if (band.top >= box.bottom) break;
        int y0 = std::max<int>(band.top, box.top), y1 = std::min<int>(band.bottom, box.bottom);
        for (size_t k = 0; k + 1 < band.xs.size(); k += 2) {
            int x0 = std::max<int>(band.xs[k], box.left), x1 = std::min<int>(band.xs[k + 1], box.right);
            if (x0 >= x1) continue;
            for (int yy = y0; yy < y1; ++yy) {
                const unsigned char* mrow = md + static_cast<ptrdiff_t>(yy - oy) * ms - ox;
                std::uint32_t* drow = direct ? t.s->Row32(yy) : nullptr;
                for (int xx = x0; xx < x1; ++xx) {
                    unsigned a = mrow[xx];
                    if (!a) continue;
                    std::uint32_t d = direct ? drow[xx] : t.s->GetPixel(xx, yy);
                    auto mix = [a](std::uint32_t src, std::uint32_t dst) {
                        return (src * a + dst * (255 - a) + 127) / 255;
                    };
                    std::uint32_t out = (d & 0xFF000000) | (mix(cr8, (d >> 16) & 255) << 16) |
                                        (mix(cg, (d >> 8) & 255) << 8) | mix(cb, d & 255);
                    if (direct)
                        drow[xx] = out;
                    else
                        t.s->SetPixel(xx, yy, out);
                }
            }
        }
    }
    NoteDrawn(t, box);
}

struct Line {
    std::wstring text;
    int underline = -1;  // index of the prefix character in text
};

// Removes "&" prefixes: "&&" gives "&", "&x" underlines x; returns the index of the underlined char.
std::wstring StripPrefix(const std::wstring& s, int& underline, bool keepUnderline)
{
    std::wstring out;
    underline = -1;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'&') {
            if (i + 1 < s.size() && s[i + 1] == L'&') {
                out += L'&';
                ++i;
                continue;
            }
            if (i + 1 < s.size() && keepUnderline) underline = static_cast<int>(out.size());
            continue;
        }
        out += s[i];
    }
    return out;
}

bool IsCjk(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x3000 && c <= 0x303F);
}

// Greedy word wrapping: breaks at spaces and between CJK characters; a word wider than the width
// stays whole on its own line.
std::vector<Line> Wrap(const FontInfo& fi, const Line& in, int width)
{
    std::vector<Line> out;
    const std::wstring& s = in.text;
    size_t lineStart = 0, lastBreak = std::wstring::npos;
    size_t i = 0;
    auto emit = [&](size_t from, size_t to) {
        Line l;
        size_t end = to;
        while (end > from && s[end - 1] == L' ') --end;
        l.text = s.substr(from, end - from);
        if (in.underline >= static_cast<int>(from) && in.underline < static_cast<int>(end))
            l.underline = in.underline - static_cast<int>(from);
        out.push_back(l);
    };
    while (i < s.size()) {
        size_t next = i + 1;
        if (!IsCjk(s[i]) && s[i] != L' ')
            while (next < s.size() && !IsCjk(s[next]) && s[next] != L' ') ++next;
        int w = TextWidth(fi, s.substr(lineStart, next - lineStart));
        if (w > width && lastBreak != std::wstring::npos && lastBreak > lineStart) {
            emit(lineStart, lastBreak);
            lineStart = lastBreak;
            while (lineStart < s.size() && s[lineStart] == L' ') ++lineStart;
            lastBreak = std::wstring::npos;
            i = lineStart;
            continue;
        }
        lastBreak = next;
        i = next;
    }
    if (lineStart < s.size() || out.empty()) emit(lineStart, s.size());
    return out;
}

// The longest prefix n of s (searched between lo and hi) for which fits(n) holds; widths grow with
// the prefix, so a binary search finds it with few layouts.
template <class F>
size_t LongestFitting(size_t lo, size_t hi, F&& fits)
{
    while (lo < hi) {
        size_t mid = (lo + hi + 1) / 2;
        if (fits(mid))
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

std::wstring EndEllipsis(const FontInfo& fi, const std::wstring& s, int width)
{
    // An empty text has nothing to shorten, however narrow the rectangle (its last index would
    // not exist).
    if (s.empty() || TextWidth(fi, s) <= width) return s;
    size_t n =
        LongestFitting(0, s.size() - 1, [&](size_t k) { return TextWidth(fi, s.substr(0, k) + L"...") <= width; });
    return s.substr(0, n) + L"...";
}

std::wstring PathEllipsis(const FontInfo& fi, const std::wstring& s, int width)
{
    if (TextWidth(fi, s) <= width) return s;
    size_t slash = s.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return EndEllipsis(fi, s, width);
    std::wstring tail = s.substr(slash);
    std::wstring head = s.substr(
        0, LongestFitting(0, slash, [&](size_t k) { return TextWidth(fi, s.substr(0, k) + L"..." + tail) <= width; }));
    if (head.empty() && TextWidth(fi, L"..." + tail) > width) return EndEllipsis(fi, L"..." + tail, width);
    return head + L"..." + tail;
}

std::vector<Line> SplitLines(const std::wstring& s, bool single)
{
    std::vector<Line> lines(1);
    for (size_t i = 0; i < s.size(); ++i) {
        wchar_t c = s[i];
        if (c == L'\r' || c == L'\n') {
            if (single) continue;
            // CR LF and LF CR are one break each.
            if (i + 1 < s.size() && (s[i + 1] == L'\r' || s[i + 1] == L'\n') && s[i + 1] != c) ++i;
            lines.emplace_back();
            continue;
        }
        lines.back().text += c;
    }
    return lines;
}

std::wstring ExpandTabs(const std::wstring& s, const FontInfo& fi)
{
    if (s.find(L'\t') == std::wstring::npos) return s;
    std::wstring out;
    int spaceW = std::max(1, TextWidth(fi, L" "));
    int tabW = std::max(spaceW, fi.aveWidth * 8);
    for (wchar_t c : s) {
        if (c != L'\t') {
            out += c;
            continue;
        }
        int w = TextWidth(fi, out);
        int next = (w / tabW + 1) * tabW;
        do {
            out += L' ';
        } while (TextWidth(fi, out) < next);
    }
    return out;
}

}  // namespace

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* tm)
{
    auto dc = LookupDc(hdc);
    if (!dc || !tm) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(TextLock());
    auto fi = ResolveFont(dc.get());
    *tm = TEXTMETRICW{};
    tm->tmAscent = fi->ascent;
    tm->tmDescent = fi->descent;
    tm->tmHeight = fi->ascent + fi->descent;
    tm->tmInternalLeading = std::max(0, tm->tmHeight - fi->em);
    tm->tmAveCharWidth = fi->aveWidth;
    tm->tmMaxCharWidth = fi->maxWidth;
    tm->tmWeight = fi->weight;
    tm->tmItalic = fi->italic;
    tm->tmUnderlined = fi->underline;
    tm->tmStruckOut = fi->strike;
    tm->tmCharSet = dc->st.font ? dc->st.font->lf.lfCharSet : DEFAULT_CHARSET;
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, SIZE* size)
{
    auto dc = LookupDc(hdc);
    if (!dc || !size || (count > 0 && !text) || count < 0) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(TextLock());
    auto fi = ResolveFont(dc.get());
    size->cx = count ? TextWidth(*fi, std::wstring(text, static_cast<size_t>(count))) : 0;
    size->cy = fi->ascent + fi->descent;
    return TRUE;
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* r, LPCWSTR text, UINT count, const int*)
{
    auto dc = LookupDc(hdc);
    if (!dc) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(TextLock());
    Target t;
    if (!PrepareTarget(*dc, t)) return TRUE;
    auto fi = ResolveFont(dc.get());
    std::wstring s = text ? std::wstring(text, count) : std::wstring();
    int w = TextWidth(*fi, s);
    UINT align = dc->st.textAlign;
    if (align & TA_UPDATECP) {
        x = dc->st.curPos.x;
        y = dc->st.curPos.y;
    }
    int lx = x;
    if ((align & TA_CENTER) == TA_CENTER)
        lx = x - w / 2;
    else if (align & TA_RIGHT)
        lx = x - w;
    int ty = y;
    if ((align & TA_BASELINE) == TA_BASELINE)
        ty = y - fi->ascent;
    else if (align & TA_BOTTOM)
        ty = y - (fi->ascent + fi->descent);
    RECT clipS;
    const RECT* clip = nullptr;
    if (r) {
        clipS = RectOffset(*r, t.ox, t.oy);
        if (options & ETO_OPAQUE) FillClipped(t, clipS, ColorRefToArgb(ResolveColor(dc->st.bkColor)), 13);
        if (options & ETO_CLIPPED) clip = &clipS;
    }
    DrawLine(t, *fi, s, lx + t.ox, ty + t.oy, w, dc->st.textColor, -1,
             dc->st.bkMode == OPAQUE && !(options & ETO_OPAQUE), ResolveColor(dc->st.bkColor), clip);
    if (align & TA_UPDATECP) dc->st.curPos.x += w;
    return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count)
{
    if (count < 0) return FALSE;
    return ExtTextOutW(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

int DrawTextW(HDC hdc, LPCWSTR text, int count, RECT* r, UINT format)
{
    auto dc = LookupDc(hdc);
    if (!dc || !r || !text) return 0;
    std::lock_guard<std::recursive_mutex> lock(TextLock());
    std::wstring s = count < 0 ? std::wstring(text) : std::wstring(text, static_cast<size_t>(count));
    auto fi = ResolveFont(dc.get());
    int lineH = fi->ascent + fi->descent;
    bool single = format & DT_SINGLELINE;
    std::vector<Line> raw = SplitLines(s, single);
    std::vector<Line> lines;
    int width = r->right - r->left;
    for (auto& l : raw) {
        Line pl;
        if (format & DT_NOPREFIX)
            pl.text = l.text;
        else
            pl.text = StripPrefix(l.text, pl.underline, !(format & DT_HIDEPREFIX));
        pl.text = ExpandTabs(pl.text, *fi);
        if ((format & DT_WORDBREAK) && !single) {
            for (auto& wl : Wrap(*fi, pl, width)) lines.push_back(wl);
        } else {
            lines.push_back(pl);
        }
    }
    if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
        for (auto& l : lines) {
            std::wstring before = l.text;
            l.text = (format & DT_PATH_ELLIPSIS) ? PathEllipsis(*fi, l.text, width) : EndEllipsis(*fi, l.text, width);
            if (l.text != before && l.underline >= static_cast<int>(l.text.size()) - 3) l.underline = -1;
        }
    }
    std::vector<int> widths;
    int maxW = 0;
    for (auto& l : lines) {
        widths.push_back(TextWidth(*fi, l.text));
        maxW = std::max(maxW, widths.back());
    }
    int total = lineH * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        r->right = r->left + maxW;
        r->bottom = r->top + total;
        return total;
    }
    int top = r->top;
    if (single && (format & DT_VCENTER))
        top = r->top + ((r->bottom - r->top) - lineH) / 2;
    else if (single && (format & DT_BOTTOM))
        top = r->bottom - lineH;
    Target t;
    if (PrepareTarget(*dc, t)) {
        RECT clipS = RectOffset(*r, t.ox, t.oy);
        const RECT* clip = (format & DT_NOCLIP) ? nullptr : &clipS;
        for (size_t i = 0; i < lines.size(); ++i) {
            int lx = r->left;
            if (format & DT_CENTER)
                lx = r->left + (width - widths[i]) / 2;
            else if (format & DT_RIGHT)
                lx = r->right - widths[i];
            DrawLine(t, *fi, lines[i].text, lx + t.ox, top + static_cast<int>(i) * lineH + t.oy, widths[i],
                     dc->st.textColor, lines[i].underline, dc->st.bkMode == OPAQUE, ResolveColor(dc->st.bkColor), clip,
                     (format & DT_RTLREADING) != 0);
        }
    }
    if (single && (format & (DT_VCENTER | DT_BOTTOM))) return top - r->top + lineH;
    return total;
}

namespace vxwin {
// The family Pango picks for a LOGFONT face name (for tests of the name rules).
std::string ResolvedFontFamily(const wchar_t* face)
{
    std::lock_guard<std::recursive_mutex> lock(TextLock());
    PangoFontDescription* d = pango_font_description_new();
    std::string f = ToUtf8(face, std::wcslen(face));
    pango_font_description_set_family(d, f.c_str());
    pango_font_description_set_absolute_size(d, 13 * PANGO_SCALE);
    PangoFont* font = pango_font_map_load_font(pango_context_get_font_map(Context()), Context(), d);
    std::string out;
    if (font) {
        PangoFontDescription* got = pango_font_describe(font);
        if (const char* fam = pango_font_description_get_family(got)) out = fam;
        pango_font_description_free(got);
        g_object_unref(font);
    }
    pango_font_description_free(d);
    return out;
}
}  // namespace vxwin

namespace {
std::wstring FromUtf8(const char* s) { return Utf8ToString(s); }

// The Windows face names the rules above map onto installed fonts.
std::vector<std::wstring> AliasFamilies()
{
    std::vector<std::wstring> out;
    const std::string rules = kFontRules;
    for (size_t at = rules.find("<alias binding=\"same\"><family>"); at != std::string::npos;
         at = rules.find("<alias binding=\"same\"><family>", at + 1)) {
        size_t from = at + std::strlen("<alias binding=\"same\"><family>");
        size_t to = rules.find("</family>", from);
        if (to != std::string::npos) out.push_back(FromUtf8(rules.substr(from, to - from).c_str()));
    }
    return out;
}
}  // namespace

int EnumFontFamiliesExW(HDC, const LOGFONTW* lf, const FONTENUMPROC_FN& fn, DWORD)
{
    if (!fn) return 0;
    std::vector<std::wstring> families;
    {
        std::lock_guard<std::recursive_mutex> lock(TextLock());
        Context();  // loads the rules into fontconfig's configuration
        FcPattern* pat = FcPatternCreate();
        FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
        FcFontSet* set = FcFontList(FcConfigGetCurrent(), pat, os);
        if (set) {
            for (int i = 0; i < set->nfont; ++i) {
                FcChar8* name = nullptr;
                for (int k = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, k, &name) == FcResultMatch; ++k)
                    families.push_back(FromUtf8(reinterpret_cast<const char*>(name)));
            }
            FcFontSetDestroy(set);
        }
        FcObjectSetDestroy(os);
        FcPatternDestroy(pat);
    }
    if (!families.empty())
        for (auto& a : AliasFamilies()) families.push_back(a);
    std::sort(families.begin(), families.end());
    families.erase(std::unique(families.begin(), families.end()), families.end());
    std::wstring only = lf ? std::wstring(lf->lfFaceName) : std::wstring();
    int last = 1;
    for (const auto& f : families) {
        if (!only.empty() && f != only) continue;
        LOGFONTW out{};
        std::wcsncpy(out.lfFaceName, f.c_str(), LF_FACESIZE - 1);
        TEXTMETRICW tm{};
        last = fn(&out, &tm, 4 /* TRUETYPE_FONTTYPE */);
        if (!last) break;
    }
    return last;
}

int DrawTextExW(HDC hdc, LPWSTR text, int count, RECT* r, UINT format, DRAWTEXTPARAMS* params)
{
    if (!params || !r) return DrawTextW(hdc, text, count, r, format);
    RECT inner{r->left + params->iLeftMargin, r->top, r->right - params->iRightMargin, r->bottom};
    const int h = DrawTextW(hdc, text, count, &inner, format);
    if (format & DT_CALCRECT)
        *r = RECT{inner.left - params->iLeftMargin, inner.top, inner.right + params->iRightMargin, inner.bottom};
    params->uiLengthDrawn = text ? static_cast<UINT>(count < 0 ? std::wcslen(text) : static_cast<size_t>(count)) : 0;
    return h;
}

LONG TabbedTextOutW(HDC hdc, int x, int y, LPCWSTR text, int count, int nTabPositions, const INT* tabPositions,
                    int tabOrigin)
{
    if (!text || !LookupDc(hdc)) return 0;
    const size_t n = count < 0 ? std::wcslen(text) : static_cast<size_t>(count);
    TEXTMETRICW tm;
    if (!GetTextMetricsW(hdc, &tm)) return 0;
    const int defaultStep = std::max<int>(1, 8 * tm.tmAveCharWidth);
    if (!tabPositions) nTabPositions = 0;
    // The next stop right of pos, in the DC's coordinates.
    auto nextStop = [&](int pos) {
        if (nTabPositions == 1 && tabPositions[0] > 0) {
            const int step = tabPositions[0];
            return tabOrigin + ((pos - tabOrigin) / step + 1) * step;
        }
        for (int i = 0; i < nTabPositions; ++i)
            if (tabOrigin + tabPositions[i] > pos) return tabOrigin + tabPositions[i];
        int from = pos - tabOrigin;
        return tabOrigin + (from < 0 ? 0 : (from / defaultStep + 1) * defaultStep);
    };
    int cur = x;
    size_t start = 0;
    for (size_t i = 0; i <= n; ++i) {
        if (i < n && text[i] != L'\t') continue;
        const int len = static_cast<int>(i - start);
        if (len > 0) {
            TextOutW(hdc, cur, y, text + start, len);
            SIZE sz;
            GetTextExtentPoint32W(hdc, text + start, len, &sz);
            cur += sz.cx;
        }
        if (i < n) cur = nextStop(cur);
        start = i + 1;
    }
    return static_cast<LONG>(MAKELPARAM(cur - x, tm.tmHeight));
}
