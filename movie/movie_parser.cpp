// Reading the template movie text format (docs/movie-format.md).

#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <utility>

#include "movie/movie_animation.h"
#include "movie/movie_parser.h"
#include "movie/movie_texts.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"

namespace vellumo::movie {
namespace {

struct Token {
    QString text;
    bool quoted = false;
};

struct PropertyInfo {
    Property property;
    const char* name;
    double low;
    double high;
};

constexpr PropertyInfo kProperties[kPropertyCount] = {
    {Property::X, "x", -100000.0, 100000.0},
    {Property::Y, "y", -100000.0, 100000.0},
    {Property::Width, "width", 0.0, 100000.0},
    {Property::Height, "height", 0.0, 100000.0},
    {Property::Scale, "scale", -100.0, 100.0},
    {Property::ScaleX, "scale-x", -100.0, 100.0},
    {Property::ScaleY, "scale-y", -100.0, 100.0},
    {Property::Rotation, "rotation", -1000000.0, 1000000.0},
    {Property::Opacity, "opacity", 0.0, 1.0},
    {Property::Reveal, "reveal", 0.0, 1.0},
    {Property::ContentScale, "content-scale", kMinContentScale, 100.0},
    {Property::ContentX, "content-x", 0.0, 1.0},
    {Property::ContentY, "content-y", 0.0, 1.0},
    {Property::Blur, "blur", 0.0, 500.0},
    {Property::Brightness, "brightness", 0.0, 10.0},
    {Property::Saturation, "saturation", 0.0, 10.0},
    {Property::Sepia, "sepia", 0.0, 1.0},
    {Property::Tint, "tint", 0.0, 1.0},
    {Property::MaskX, "mask-x", -100000.0, 100000.0},
    {Property::MaskY, "mask-y", -100000.0, 100000.0},
    {Property::MaskWidth, "mask-width", 0.0, 100000.0},
    {Property::MaskHeight, "mask-height", 0.0, 100000.0},
    {Property::MaskRotation, "mask-rotation", -1000000.0, 1000000.0},
    {Property::MaskSoft, "mask-soft", 0.0, 1000.0},
};

struct ColorPropertyInfo {
    ColorProperty property;
    const char* name;
    LayerKind kind;  // the kind of layer it is for
};

constexpr ColorPropertyInfo kColorProperties[kColorPropertyCount] = {
    {ColorProperty::Text, "color", LayerKind::Text},
    {ColorProperty::Stroke, "stroke-color", LayerKind::Text},
    {ColorProperty::Tint, "tint-color", LayerKind::Image},
};

std::optional<ColorPropertyInfo> colorPropertyNamed(const QString& word) {
    for (const ColorPropertyInfo& p : kColorProperties) {
        if (word == QLatin1String(p.name)) {
            return p;
        }
    }
    return std::nullopt;
}

// Properties of version 2 that only an image has: its content's motion and its filters.
bool isContentProperty(Property p) {
    return p == Property::ContentScale || p == Property::ContentX || p == Property::ContentY ||
           p == Property::Blur || p == Property::Brightness || p == Property::Saturation ||
           p == Property::Sepia || p == Property::Tint;
}

bool isMaskProperty(Property p) {
    return p == Property::MaskX || p == Property::MaskY || p == Property::MaskWidth ||
           p == Property::MaskHeight || p == Property::MaskRotation || p == Property::MaskSoft;
}

// Shorthands of version 2 that set several mask properties at once.
bool isMaskShorthand(const QString& word) {
    return word == u"mask-position" || word == u"mask-size" || word == u"mask-box";
}

// What a group can animate: it moves, scales, turns and fades its layers.
bool isGroupProperty(Property p) {
    return p == Property::X || p == Property::Y || p == Property::Scale || p == Property::ScaleX ||
           p == Property::ScaleY || p == Property::Rotation || p == Property::Opacity;
}

constexpr char kBezierWord[] = "cubic-bezier";

const PropertyInfo& info(Property p) {
    return kProperties[static_cast<int>(p)];
}

template <typename T>
struct Choice {
    const char* name;
    T value;
};

constexpr Choice<Easing> kEasings[] = {
    {"linear", Easing::Linear},    {"ease-in", Easing::EaseIn},
    {"ease-out", Easing::EaseOut}, {"ease-in-out", Easing::EaseInOut},
    {"back", Easing::Back},        {"spring", Easing::Spring},
    {"hold", Easing::Hold},
};

constexpr Choice<RevealStyle> kRevealStyles[] = {
    {"from-left", RevealStyle::FromLeft},
    {"from-right", RevealStyle::FromRight},
    {"from-top", RevealStyle::FromTop},
    {"from-bottom", RevealStyle::FromBottom},
    {"split-horizontal", RevealStyle::SplitHorizontal},
    {"split-vertical", RevealStyle::SplitVertical},
    {"iris", RevealStyle::Iris},
    {"clock", RevealStyle::Clock},
    {"blinds", RevealStyle::Blinds},
    {"blinds-vertical", RevealStyle::BlindsVertical},
    {"characters", RevealStyle::Characters},
};

constexpr Choice<BlendMode> kBlendModes[] = {{"normal", BlendMode::Normal},
                                             {"screen", BlendMode::Screen},
                                             {"multiply", BlendMode::Multiply},
                                             {"overlay", BlendMode::Overlay}};

constexpr Choice<ParticleKind> kParticleKinds[] = {{"petals", ParticleKind::Petals},
                                                   {"snow", ParticleKind::Snow},
                                                   {"bokeh", ParticleKind::Bokeh},
                                                   {"sparkles", ParticleKind::Sparkles}};

constexpr Choice<Fit> kFits[] = {
    {"cover", Fit::Cover}, {"contain", Fit::Contain}, {"stretch", Fit::Stretch}};
constexpr Choice<TextAlign> kAligns[] = {
    {"left", TextAlign::Left}, {"center", TextAlign::Center}, {"right", TextAlign::Right}};
constexpr Choice<bool> kYesNo[] = {{"yes", true}, {"no", false}};

// The outlines a shape layer draws and a mask cuts.
enum class Outline { Rect, RoundedRect, Ellipse, Picture };
constexpr Choice<Outline> kShapeOutlines[] = {
    {"rect", Outline::Rect}, {"rounded-rect", Outline::RoundedRect}, {"ellipse", Outline::Ellipse}};
constexpr Choice<Outline> kMaskOutlines[] = {{"rect", Outline::Rect},
                                             {"rounded-rect", Outline::RoundedRect},
                                             {"ellipse", Outline::Ellipse},
                                             {"picture", Outline::Picture}};

template <typename T, size_t N>
std::optional<T> lookUp(const Choice<T> (&choices)[N], const QString& word) {
    for (const Choice<T>& c : choices) {
        if (word == QLatin1String(c.name)) {
            return c.value;
        }
    }
    return std::nullopt;
}

template <typename T, size_t N>
QString choiceList(const Choice<T> (&choices)[N]) {
    QStringList names;
    for (const Choice<T>& c : choices) {
        names.append(QLatin1String(c.name));
    }
    return names.join(texts::kMovieChoiceSeparator);
}

std::optional<Property> propertyNamed(const QString& word) {
    for (const PropertyInfo& p : kProperties) {
        if (word == QLatin1String(p.name)) {
            return p.property;
        }
    }
    return std::nullopt;
}

QString layerKindText(LayerKind kind) {
    switch (kind) {
        case LayerKind::Image:
            return texts::kMovieImageLayer;
        case LayerKind::Shape:
            return texts::kMovieShapeLayer;
        case LayerKind::Text:
            return texts::kMovieTextLayer;
        case LayerKind::Group:
            return texts::kMovieGroupLayer;
        case LayerKind::Particles:
            return texts::kMovieParticlesLayer;
    }
    return {};
}

QString formatNumber(double v) {
    return QString::number(v, 'g', 10);
}

// A colour key met while reading a layer.
struct PendingColorKey {
    ColorProperty property;
    ColorKey key;
    int line;
    bool atLayerStart;
};

// A key met while reading a layer, remembered with its line until the layer is complete.
struct PendingKey {
    Property property;
    Keyframe key;
    int line;
    bool atLayerStart;  // a plain setting: its frame is the layer's first visible frame
};

class Parser {
public:
    explicit Parser(QString file) : file_(std::move(file)) {}

    Movie parse(const QByteArray& bytes) {
        const QString text = decode(bytes);
        movie_.file = file_;
        const QStringList lines = text.split(u'\n');
        bool headerSeen = false;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            line_ = static_cast<int>(i + 1);
            QStringView lineText(lines[i]);
            if (lineText.endsWith(u'\r')) {
                lineText.chop(1);
            }
            tokens_ = tokenize(lineText);
            next_ = 0;
            if (tokens_.empty()) {
                continue;
            }
            if (!headerSeen) {
                readHeader();
                headerSeen = true;
                continue;
            }
            statement();
        }
        if (!headerSeen) {
            throw FileError(file_, texts::kMovieNoHeader);
        }
        finishLayer();
        if (!openGroups_.empty()) {
            const Layer& group = movie_.layers[openGroups_.back()];
            line_ = group.line;
            fail(texts::kMovieGroupNotClosed.arg(group.name));
        }
        if (movie_.frames == 0) {
            throw FileError(file_, texts::kMovieNoFrames);
        }
        return std::move(movie_);
    }

private:
    [[noreturn]] void fail(const QString& problem) const {
        throw FileError(file_, texts::kMovieAtLine.arg(line_).arg(problem));
    }

    QString decode(const QByteArray& bytes) const {
        if (bytes.size() > kMaxFileBytes) {
            throw FileError(file_, texts::kMovieTooLarge.arg(kMaxFileBytes / (1024 * 1024)));
        }
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(bytes);
        if (decoder.hasError() || text.contains(QChar(u'\0'))) {
            throw FileError(file_, texts::kMovieNotText);
        }
        if (text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1);
        }
        return text;
    }

    // Words separated by white space; "…" quotes a word with \" \\ \n escapes. A "#" that
    // starts a line or stands alone before white space begins a comment.
    std::vector<Token> tokenize(QStringView line) const {
        std::vector<Token> tokens;
        qsizetype i = 0;
        const qsizetype n = line.size();
        while (true) {
            while (i < n && line[i].isSpace()) {
                ++i;
            }
            if (i >= n) {
                break;
            }
            if (line[i] == u'#' && (tokens.empty() || i + 1 >= n || line[i + 1].isSpace())) {
                break;
            }
            Token token;
            if (line[i] == u'"') {
                token.quoted = true;
                ++i;
                bool closed = false;
                while (i < n) {
                    const QChar c = line[i++];
                    if (c == u'"') {
                        closed = true;
                        break;
                    }
                    if (c == u'\\' && i < n) {
                        const QChar e = line[i];
                        if (e == u'"' || e == u'\\') {
                            token.text += e;
                            ++i;
                            continue;
                        }
                        if (e == u'n') {
                            token.text += u'\n';
                            ++i;
                            continue;
                        }
                    }
                    token.text += c;
                }
                if (!closed) {
                    fail(texts::kMovieOpenQuote);
                }
            } else {
                const qsizetype start = i;
                while (i < n && !line[i].isSpace()) {
                    ++i;
                }
                token.text = line.mid(start, i - start).toString();
            }
            tokens.push_back(std::move(token));
        }
        return tokens;
    }

    // Word access for the current line.
    bool atEnd() const { return next_ >= tokens_.size(); }
    const Token& take(const QString& after) {
        if (atEnd()) {
            fail(texts::kMovieMissingValue.arg(after));
        }
        return tokens_[next_++];
    }
    const QString& word(const QString& after) { return take(after).text; }
    void endOfLine() {
        if (!atEnd()) {
            fail(texts::kMovieExtraWords.arg(tokens_[next_].text));
        }
    }

    double number(const QString& after, double low, double high) {
        const QString& text = word(after);
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            fail(texts::kMovieNotNumber.arg(after, text));
        }
        if (v < low || v > high) {
            fail(texts::kMovieOutOfRange.arg(after, formatNumber(v), formatNumber(low),
                                             formatNumber(high)));
        }
        return v;
    }

    // A frame number, written as frames ("50") or seconds ("2s", "1.5s"), from 0 to the frame
    // count.
    int frame(const QString& after) {
        const QString& text = word(after);
        bool ok = false;
        double frames = 0.0;
        if (text.endsWith(u's')) {
            const double seconds = text.chopped(1).toDouble(&ok);
            ok = ok && std::isfinite(seconds) && seconds >= 0.0 && seconds <= kMaxFrames;
            frames = std::round(seconds * kFramesPerSecond);
        } else {
            const int whole = text.toInt(&ok, 10);
            ok = ok && whole >= 0 && !text.startsWith(u'+');
            frames = whole;
        }
        if (!ok) {
            fail(texts::kMovieNotFrame.arg(text));
        }
        if (frames > movie_.frames) {
            fail(texts::kMovieFrameBeyondEnd.arg(formatNumber(frames)).arg(movie_.frames));
        }
        return static_cast<int>(frames);
    }

    QColor color(const QString& text) const {
        QColor c;
        if (text.startsWith(u'#')) {
            const QString hex = text.mid(1);
            bool ok = false;
            const uint v = hex.toUInt(&ok, 16);
            if (ok && hex.size() == 3) {
                c = QColor(static_cast<int>((v >> 8) & 0xF) * 17,
                           static_cast<int>((v >> 4) & 0xF) * 17, static_cast<int>(v & 0xF) * 17);
            } else if (ok && hex.size() == 6) {
                c = QColor(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                           static_cast<int>(v & 0xFF));
            } else if (ok && hex.size() == 8) {
                c = QColor(static_cast<int>((v >> 24) & 0xFF), static_cast<int>((v >> 16) & 0xFF),
                           static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF));
            }
        } else if (!text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar ch) {
                       return ch.isLetter() && ch.unicode() < 128;
                   })) {
            c = QColor::fromString(text);
        }
        if (!c.isValid()) {
            fail(texts::kMovieNotColor.arg(text));
        }
        return c;
    }

    template <typename T, size_t N>
    T choice(const QString& after, const Choice<T> (&choices)[N]) {
        const QString& text = word(after);
        const std::optional<T> value = lookUp(choices, text);
        if (!value) {
            fail(texts::kMovieBadChoice.arg(after, choiceList(choices)));
        }
        return *value;
    }

    void readHeader() {
        const QString& magic = word(QString());
        if (magic != QLatin1String(kMagic) || atEnd()) {
            fail(texts::kMovieNoHeader);
        }
        const QString& version = word(magic);
        if (version == u"1") {
            movie_.version = 1;
        } else if (version == u"2") {
            movie_.version = 2;
        } else {
            fail(texts::kMovieBadVersion.arg(version));
        }
        endOfLine();
    }

    // Refuses a word of format version 2 in a file that declares version 1.
    void needVersion2(const QString& word) const {
        if (movie_.version < 2) {
            fail(texts::kMovieNeedsVersion2.arg(word));
        }
    }

    void statement() {
        const QString keyword = word(QString());
        if (keyword == u"image" || keyword == u"shape" || keyword == u"text" ||
            keyword == u"group" || keyword == u"particles") {
            startLayer(keyword);
        } else if (keyword == u"end") {
            endGroup();
        } else if (keyword == u"frames" || keyword == u"loop" || keyword == u"background" ||
                   keyword == u"title") {
            movieStatement(keyword);
        } else if (!layer_) {
            if (keyword == u"at" || propertyNamed(keyword) || isLayerWord(keyword) ||
                keyword == u"content-position" || isMaskShorthand(keyword) ||
                colorPropertyNamed(keyword)) {
                fail(texts::kMovieOutsideLayer.arg(keyword));
            }
            fail(texts::kMovieUnknownWord.arg(keyword));
        } else {
            layerStatement(keyword);
        }
        endOfLine();
    }

    static bool isLayerWord(const QString& w) {
        static const QStringList words = {
            QStringLiteral("visible"),  QStringLiteral("fit"),
            QStringLiteral("fill"),     QStringLiteral("radius"),
            QStringLiteral("font"),     QStringLiteral("font-size"),
            QStringLiteral("color"),    QStringLiteral("bold"),
            QStringLiteral("italic"),   QStringLiteral("align"),
            QStringLiteral("wrap"),     QStringLiteral("border"),
            QStringLiteral("shadow"),   QStringLiteral("reveal-style"),
            QStringLiteral("position"), QStringLiteral("size"),
            QStringLiteral("box"),      QStringLiteral("anchor"),
            QStringLiteral("mask"),     QStringLiteral("blend"),
            QStringLiteral("stroke"),   QStringLiteral("seed"),
            QStringLiteral("count"),    QStringLiteral("particle-size"),
            QStringLiteral("speed"),    QStringLiteral("drift"),
            QStringLiteral("lifetime")};
        return words.contains(w);
    }

    void movieStatement(const QString& keyword) {
        if (layer_) {
            fail(texts::kMovieHeaderAfterLayers.arg(keyword));
        }
        if (seenHeaderWords_.contains(keyword)) {
            fail(texts::kMovieRepeated.arg(keyword));
        }
        seenHeaderWords_.append(keyword);
        if (keyword == u"frames") {
            const QString& text = word(keyword);
            bool ok = false;
            const int frames = text.toInt(&ok, 10);
            if (!ok) {
                fail(texts::kMovieNotNumber.arg(keyword, text));
            }
            if (frames < 1 || frames > kMaxFrames) {
                fail(texts::kMovieOutOfRange.arg(keyword, text, QStringLiteral("1"),
                                                 QString::number(kMaxFrames)));
            }
            movie_.frames = frames;
        } else if (keyword == u"loop") {
            movie_.loop = choice(keyword, kYesNo);
        } else if (keyword == u"background") {
            movie_.background = color(word(keyword));
        } else {
            movie_.title = word(keyword);
        }
    }

    void startLayer(const QString& keyword) {
        if (keyword == u"group" || keyword == u"particles") {
            needVersion2(keyword);
        }
        if (keyword == u"group") {
            if (openGroups_.size() >= static_cast<size_t>(kMaxGroupDepth)) {
                fail(texts::kMovieGroupsTooDeep.arg(kMaxGroupDepth));
            }
        }
        finishLayer();
        if (movie_.frames == 0) {
            fail(texts::kMovieNoFrames);
        }
        if (movie_.layers.size() >= static_cast<size_t>(kMaxLayers)) {
            fail(texts::kMovieTooManyLayers.arg(kMaxLayers));
        }
        Layer layer;
        layer.line = line_;
        layer.kind = keyword == u"image"   ? LayerKind::Image
                     : keyword == u"shape" ? LayerKind::Shape
                     : keyword == u"text"  ? LayerKind::Text
                     : keyword == u"group" ? LayerKind::Group
                                           : LayerKind::Particles;
        layer.parent = openGroups_.empty() ? -1 : static_cast<int>(openGroups_.back());
        layer.end = movie_.layers.size() + 1;
        layer.name = word(keyword);
        if (layer.name.isEmpty()) {
            fail(texts::kMovieEmptyName);
        }
        for (const Layer& other : movie_.layers) {
            if (other.name == layer.name) {
                fail(texts::kMovieDuplicateName.arg(layer.name));
            }
        }
        switch (layer.kind) {
            case LayerKind::Image:
                layer.picture = relativePicture(word(layer.name));
                break;
            case LayerKind::Shape: {
                const Outline outline = choice(layer.name, kShapeOutlines);
                layer.shape =
                    outline == Outline::Ellipse ? ShapeKind::Ellipse : ShapeKind::Rectangle;
                if (outline == Outline::RoundedRect) {
                    layer.radius = 40.0;
                }
                layer.fill.stops = {{0.0, Qt::white}};
                break;
            }
            case LayerKind::Text:
                layer.text = word(layer.name);
                if (layer.text.size() > kMaxTextLength) {
                    fail(texts::kMovieTextTooLong.arg(kMaxTextLength));
                }
                break;
            case LayerKind::Group:
                openGroups_.push_back(movie_.layers.size());
                break;
            case LayerKind::Particles:
                layer.emitter = defaultEmitter(choice(layer.name, kParticleKinds));
                break;
        }
        movie_.layers.push_back(std::move(layer));
        layer_ = &movie_.layers.back();
        pending_.clear();
        pendingColors_.clear();
        seenLayerWords_.clear();
    }

    // "end" or "end NAME" closes the innermost open group.
    void endGroup() {
        needVersion2(QStringLiteral("end"));
        if (openGroups_.empty()) {
            fail(texts::kMovieEndWithoutGroup);
        }
        Layer& group = movie_.layers[openGroups_.back()];
        if (!atEnd()) {
            const QString& name = word(QStringLiteral("end"));
            if (name != group.name) {
                fail(texts::kMovieEndOtherGroup.arg(name, group.name));
            }
        }
        finishLayer();
        group.end = movie_.layers.size();
        openGroups_.pop_back();
    }

    void onceInLayer(const QString& keyword) {
        if (seenLayerWords_.contains(keyword)) {
            fail(texts::kMovieRepeated.arg(keyword));
        }
        seenLayerWords_.append(keyword);
    }

    void only(const QString& keyword, LayerKind kind) {
        if (layer_->kind != kind) {
            fail(texts::kMovieNotForLayer.arg(keyword, layerKindText(layer_->kind)));
        }
    }

    void layerStatement(const QString& keyword) {
        Layer& layer = *layer_;
        if (keyword == u"at") {
            const int at = frame(keyword);
            if (atEnd()) {
                fail(texts::kMovieNoSettings);
            }
            settings(at, false);
            return;
        }
        if (propertyNamed(keyword) || keyword == u"position" || keyword == u"size" ||
            keyword == u"box" || keyword == u"content-position" || isMaskShorthand(keyword) ||
            keyword == u"stroke-color" || keyword == u"tint-color") {
            --next_;
            settings(0, true);
            return;
        }
        if (lookUp(kEasings, keyword)) {
            fail(texts::kMovieEasingOutsideAt.arg(keyword));
        }
        if (keyword.startsWith(QLatin1String(kBezierWord))) {
            fail(texts::kMovieEasingOutsideAt.arg(QLatin1String(kBezierWord)));
        }
        if (!isLayerWord(keyword)) {
            fail(texts::kMovieUnknownWord.arg(keyword));
        }
        if (layer.kind == LayerKind::Group && keyword != u"visible" && keyword != u"anchor") {
            fail(texts::kMovieNotForLayer.arg(keyword, texts::kMovieGroupLayer));
        }
        if (layer.kind == LayerKind::Particles &&
            (keyword == u"border" || keyword == u"shadow" || keyword == u"stroke")) {
            fail(texts::kMovieNotForLayer.arg(keyword, texts::kMovieParticlesLayer));
        }
        static const QStringList version2Words = {
            QStringLiteral("mask"),  QStringLiteral("blend"), QStringLiteral("stroke"),
            QStringLiteral("seed"),  QStringLiteral("count"), QStringLiteral("particle-size"),
            QStringLiteral("speed"), QStringLiteral("drift"), QStringLiteral("lifetime")};
        if (version2Words.contains(keyword)) {
            needVersion2(keyword);
        }
        onceInLayer(keyword);
        if (keyword == u"visible") {
            layer.firstFrame = frame(keyword);
            if (!atEnd() && tokens_[next_].text == u"end" && !tokens_[next_].quoted) {
                ++next_;
                layer.lastFrame = INT_MAX;
            } else {
                layer.lastFrame = frame(keyword);
            }
            if (layer.lastFrame < layer.firstFrame) {
                fail(texts::kMovieVisibleOrder);
            }
        } else if (keyword == u"anchor") {
            only(keyword, LayerKind::Group);
            layer.anchorX = number(keyword, -100000, 100000);
            layer.anchorY = number(keyword, -100000, 100000);
        } else if (keyword == u"fit") {
            only(keyword, LayerKind::Image);
            layer.fit = choice(keyword, kFits);
        } else if (keyword == u"fill") {
            only(keyword, LayerKind::Shape);
            readFill(keyword);
        } else if (keyword == u"radius") {
            only(keyword, LayerKind::Shape);
            layer.radius = number(keyword, 0, 10000);
        } else if (keyword == u"font") {
            only(keyword, LayerKind::Text);
            layer.fontFamily = word(keyword);
        } else if (keyword == u"font-size") {
            only(keyword, LayerKind::Text);
            layer.fontSize = number(keyword, 1, 2000);
        } else if (keyword == u"color" && layer.kind == LayerKind::Particles) {
            layer.emitter.colors = {color(word(keyword))};
            while (!atEnd()) {
                layer.emitter.colors.push_back(color(word(keyword)));
            }
        } else if (keyword == u"color") {
            only(keyword, LayerKind::Text);
            layer.textColor = color(word(keyword));
        } else if (keyword == u"bold") {
            only(keyword, LayerKind::Text);
            layer.bold = true;
        } else if (keyword == u"italic") {
            only(keyword, LayerKind::Text);
            layer.italic = true;
        } else if (keyword == u"align") {
            only(keyword, LayerKind::Text);
            layer.align = choice(keyword, kAligns);
        } else if (keyword == u"wrap") {
            only(keyword, LayerKind::Text);
            layer.wrapWidth = number(keyword, 0, 100000);
        } else if (keyword == u"border") {
            layer.border.width = number(keyword, 0, 1000);
            if (!atEnd()) {
                layer.border.color = color(word(keyword));
            }
        } else if (keyword == u"shadow") {
            layer.shadow.enabled = true;
            layer.shadow.dx = number(keyword, -1000, 1000);
            layer.shadow.dy = number(keyword, -1000, 1000);
            layer.shadow.blur = number(keyword, 0, 500);
            if (!atEnd()) {
                layer.shadow.color = color(word(keyword));
            }
        } else if (keyword == u"mask") {
            readMask(keyword);
        } else if (keyword == u"blend") {
            layer.blend = choice(keyword, kBlendModes);
        } else if (keyword == u"stroke") {
            only(keyword, LayerKind::Text);
            layer.stroke.width = number(keyword, 0, 200);
            if (!atEnd()) {
                layer.stroke.color = color(word(keyword));
            }
        } else if (keyword == u"seed") {
            only(keyword, LayerKind::Particles);
            layer.emitter.seed = static_cast<quint32>(number(keyword, 0, 4294967295.0));
        } else if (keyword == u"count") {
            only(keyword, LayerKind::Particles);
            layer.emitter.count = static_cast<int>(number(keyword, 0, kMaxParticles));
        } else if (keyword == u"particle-size") {
            only(keyword, LayerKind::Particles);
            layer.emitter.size = range(keyword, 0, 2000);
        } else if (keyword == u"speed") {
            only(keyword, LayerKind::Particles);
            layer.emitter.speed = range(keyword, -10000, 10000);
        } else if (keyword == u"drift") {
            only(keyword, LayerKind::Particles);
            layer.emitter.drift = range(keyword, -10000, 10000);
        } else if (keyword == u"lifetime") {
            only(keyword, LayerKind::Particles);
            layer.emitter.lifetime = range(keyword, 0.04, 3600);
        } else if (keyword == u"reveal-style") {
            layer.reveal = choice(keyword, kRevealStyles);
            if (layer.reveal == RevealStyle::Characters) {
                needVersion2(QStringLiteral("characters"));
                only(QStringLiteral("characters"), LayerKind::Text);
            }
            if ((layer.reveal == RevealStyle::Blinds ||
                 layer.reveal == RevealStyle::BlindsVertical) &&
                !atEnd()) {
                layer.revealSlats = static_cast<int>(number(keyword, 1, 100));
            }
        }
    }

    // "MIN MAX", or one number for both.
    ParticleRange range(const QString& keyword, double low, double high) {
        ParticleRange r;
        r.low = number(keyword, low, high);
        r.high = atEnd() ? r.low : number(keyword, low, high);
        if (r.high < r.low) {
            fail(texts::kMovieRangeOrder.arg(keyword));
        }
        return r;
    }

    // "mask rect", "mask rounded-rect [RADIUS]", "mask ellipse" or "mask picture FILE".
    void readMask(const QString& keyword) {
        if (layer_->kind == LayerKind::Group) {
            fail(texts::kMovieNotForLayer.arg(keyword, texts::kMovieGroupLayer));
        }
        Mask mask;
        switch (choice(keyword, kMaskOutlines)) {
            case Outline::Rect:
                mask.kind = MaskKind::Rectangle;
                break;
            case Outline::RoundedRect:
                mask.kind = MaskKind::Rectangle;
                mask.radius = atEnd() ? 40.0 : number(QStringLiteral("rounded-rect"), 0, 10000);
                break;
            case Outline::Ellipse:
                mask.kind = MaskKind::Ellipse;
                break;
            case Outline::Picture:
                mask.kind = MaskKind::Picture;
                mask.picture = relativePicture(word(QStringLiteral("picture")));
                break;
        }
        layer_->mask = std::move(mask);
    }

    // A picture's file as written: relative to the movie's folder, with "/" separators.
    QString relativePicture(QString picture) const {
        picture.replace(u'\\', u'/');
        if (picture.isEmpty()) {
            fail(texts::kMovieEmptyName);
        }
        if (picture.startsWith(u'/') ||
            (picture.size() >= 2 && picture[1] == u':' && picture[0].isLetter())) {
            fail(texts::kMovieAbsolutePicture.arg(picture));
        }
        return picture;
    }

    // "fill COLOR", "fill linear ANGLE STOP STOP …" or "fill radial STOP STOP …"; a stop is a
    // colour, optionally followed by "@" and its position from 0 to 1.
    void readFill(const QString& keyword) {
        Fill fill;
        const QString& first = word(keyword);
        if (first != u"linear" && first != u"radial") {
            fill.kind = FillKind::Solid;
            fill.stops = {{0.0, color(first)}};
            layer_->fill = std::move(fill);
            return;
        }
        fill.kind = first == u"linear" ? FillKind::Linear : FillKind::Radial;
        if (fill.kind == FillKind::Linear) {
            fill.angle = number(first, -3600, 3600);
        }
        std::vector<std::optional<double>> positions;
        while (!atEnd()) {
            const QString& stop = word(first);
            const qsizetype at = stop.indexOf(u'@');
            GradientStop s;
            s.color = color(at < 0 ? stop : stop.left(at));
            if (at < 0) {
                positions.push_back(std::nullopt);
            } else {
                bool ok = false;
                const double p = stop.mid(at + 1).toDouble(&ok);
                if (!ok || !(p >= 0.0 && p <= 1.0)) {
                    fail(texts::kMovieOutOfRange.arg(stop, stop.mid(at + 1), QStringLiteral("0"),
                                                     QStringLiteral("1")));
                }
                positions.push_back(p);
            }
            fill.stops.push_back(s);
        }
        if (fill.stops.size() < 2) {
            fail(texts::kMovieTwoStops);
        }
        // Stops without a position are spread evenly between their neighbours.
        if (!positions.front()) {
            positions.front() = 0.0;
        }
        if (!positions.back()) {
            positions.back() = 1.0;
        }
        size_t known = 0;
        for (size_t i = 1; i < positions.size(); ++i) {
            if (!positions[i]) {
                continue;
            }
            for (size_t j = known + 1; j < i; ++j) {
                positions[j] = *positions[known] + (*positions[i] - *positions[known]) *
                                                       static_cast<double>(j - known) /
                                                       static_cast<double>(i - known);
            }
            known = i;
        }
        for (size_t i = 0; i < positions.size(); ++i) {
            if (i > 0 && *positions[i] < *positions[i - 1]) {
                fail(texts::kMovieStopOrder);
            }
            fill.stops[i].position = *positions[i];
        }
        layer_->fill = std::move(fill);
    }

    void addKey(Property p, double value, int at, Easing easing, const Bezier& curve, bool plain) {
        if (plain) {
            for (const PendingKey& k : pending_) {
                if (k.atLayerStart && k.property == p) {
                    fail(texts::kMovieRepeated.arg(QLatin1String(info(p).name)));
                }
            }
        }
        if (pending_.size() >= static_cast<size_t>(kMaxKeysPerLayer)) {
            fail(texts::kMovieTooManyKeys.arg(kMaxKeysPerLayer));
        }
        pending_.push_back({p, {at, value, easing, curve}, line_, plain});
    }

    void addColorKey(ColorProperty p, const QColor& value, int at, Easing easing,
                     const Bezier& curve, bool plain) {
        if (plain) {
            for (const PendingColorKey& k : pendingColors_) {
                if (k.atLayerStart && k.property == p) {
                    fail(texts::kMovieRepeated.arg(colorPropertyName(p)));
                }
            }
        }
        if (pending_.size() + pendingColors_.size() >= static_cast<size_t>(kMaxKeysPerLayer)) {
            fail(texts::kMovieTooManyKeys.arg(kMaxKeysPerLayer));
        }
        pendingColors_.push_back({p, {at, value, easing, curve}, line_, plain});
    }

    // The settings of a plain line ("opacity 0.5", "position 960 540") or of an "at" line,
    // which may end in an easing.
    void settings(int at, bool plain) {
        struct Setting {
            Property property;
            double value;
        };
        std::vector<Setting> found;
        struct ColorSetting {
            ColorProperty property;
            QColor value;
        };
        std::vector<ColorSetting> colours;
        std::optional<Easing> easing;
        Bezier curve;
        while (!atEnd()) {
            const QString name = word(QString());
            const bool bezier = name.startsWith(QLatin1String(kBezierWord));
            std::optional<Easing> e = lookUp(kEasings, name);
            if (bezier) {
                needVersion2(QLatin1String(kBezierWord));
                if (!plain) {
                    curve = bezierCurve(name);
                    e = Easing::CubicBezier;
                }
            }
            if (e || bezier) {
                if (plain || !atEnd() || (found.empty() && colours.empty())) {
                    fail(plain ? texts::kMovieEasingOutsideAt.arg(
                                     bezier ? QString::fromLatin1(kBezierWord) : name)
                         : atEnd() ? texts::kMovieNoSettings
                                   : texts::kMovieExtraWords.arg(tokens_[next_].text));
                }
                easing = e;
                break;
            }
            const bool sizeWord =
                name == u"width" || name == u"height" || name == u"size" || name == u"box";
            if (sizeWord && layer_->kind == LayerKind::Text) {
                fail(texts::kMovieNotForLayer.arg(name, layerKindText(LayerKind::Text)));
            }
            if (const std::optional<ColorPropertyInfo> colour = colorPropertyNamed(name)) {
                needVersion2(name);
                only(name, colour->kind);
                colours.push_back({colour->property, color(word(name))});
                continue;
            }
            const std::optional<Property> named = propertyNamed(name);
            if (name == u"content-position" || (named && isContentProperty(*named))) {
                needVersion2(name);
                only(name, LayerKind::Image);
            }
            if (isMaskShorthand(name) || (named && isMaskProperty(*named))) {
                needVersion2(name);
                if (layer_->kind == LayerKind::Group) {
                    fail(texts::kMovieNotForLayer.arg(name, texts::kMovieGroupLayer));
                }
            }
            if (layer_->kind == LayerKind::Group &&
                (named ? !isGroupProperty(*named) : name != u"position")) {
                fail(texts::kMovieNotForLayer.arg(name, texts::kMovieGroupLayer));
            }
            auto value = [&](Property p) { return number(name, info(p).low, info(p).high); };
            if (named) {
                found.push_back({*named, value(*named)});
            } else if (name == u"content-position") {
                found.push_back({Property::ContentX, value(Property::ContentX)});
                found.push_back({Property::ContentY, value(Property::ContentY)});
            } else if (name == u"mask-position") {
                found.push_back({Property::MaskX, value(Property::MaskX)});
                found.push_back({Property::MaskY, value(Property::MaskY)});
            } else if (name == u"mask-size") {
                found.push_back({Property::MaskWidth, value(Property::MaskWidth)});
                found.push_back({Property::MaskHeight, value(Property::MaskHeight)});
            } else if (name == u"mask-box") {
                const double left = number(name, -100000, 100000);
                const double top = number(name, -100000, 100000);
                const double w = value(Property::MaskWidth);
                const double h = value(Property::MaskHeight);
                found.push_back({Property::MaskX, left + w / 2.0});
                found.push_back({Property::MaskY, top + h / 2.0});
                found.push_back({Property::MaskWidth, w});
                found.push_back({Property::MaskHeight, h});
            } else if (name == u"position") {
                found.push_back({Property::X, value(Property::X)});
                found.push_back({Property::Y, value(Property::Y)});
            } else if (name == u"size") {
                found.push_back({Property::Width, value(Property::Width)});
                found.push_back({Property::Height, value(Property::Height)});
            } else if (name == u"box") {
                const double left = number(name, -100000, 100000);
                const double top = number(name, -100000, 100000);
                const double w = value(Property::Width);
                const double h = value(Property::Height);
                found.push_back({Property::X, left + w / 2.0});
                found.push_back({Property::Y, top + h / 2.0});
                found.push_back({Property::Width, w});
                found.push_back({Property::Height, h});
            } else {
                fail(texts::kMovieUnknownWord.arg(name));
            }
        }
        for (const Setting& s : found) {
            addKey(s.property, s.value, at, easing.value_or(Easing::Linear), curve, plain);
        }
        for (const ColorSetting& c : colours) {
            addColorKey(c.property, c.value, at, easing.value_or(Easing::Linear), curve, plain);
        }
    }

    // "cubic-bezier(X1, Y1, X2, Y2)", which may be written over several words: the first is
    // given, the rest are taken up to the closing parenthesis. x1 and x2 lie within 0 to 1.
    Bezier bezierCurve(const QString& first) {
        QString written = first;
        while (!written.contains(u')') && !atEnd()) {
            written += u' ' + tokens_[next_++].text;
        }
        QString inside = written.mid(qsizetype(sizeof(kBezierWord) - 1)).trimmed();
        if (!inside.startsWith(u'(') || !inside.endsWith(u')')) {
            fail(texts::kMovieBadBezier.arg(written));
        }
        inside = inside.mid(1, inside.size() - 2);
        const QStringList parts = inside.split(u',');
        if (parts.size() != 4) {
            fail(texts::kMovieBadBezier.arg(written));
        }
        double v[4] = {};
        for (int i = 0; i < 4; ++i) {
            bool ok = false;
            const QString part = parts[i].trimmed();
            v[i] = part.toDouble(&ok);
            if (!ok || !std::isfinite(v[i])) {
                fail(texts::kMovieBadBezier.arg(written));
            }
            const double low = i % 2 == 0 ? 0.0 : -10.0;
            const double high = i % 2 == 0 ? 1.0 : 10.0;
            if (v[i] < low || v[i] > high) {
                fail(texts::kMovieOutOfRange.arg(QLatin1String(kBezierWord), part,
                                                 formatNumber(low), formatNumber(high)));
            }
        }
        return {v[0], v[1], v[2], v[3]};
    }

    // Turns the keys met in the layer into its tracks: plain settings become keys at the
    // layer's first visible frame.
    void finishLayer() {
        if (!layer_) {
            return;
        }
        std::array<std::vector<std::pair<Keyframe, int>>, kPropertyCount> keys;
        for (PendingKey& k : pending_) {
            if (k.atLayerStart) {
                k.key.frame = layer_->firstFrame;
            }
            keys[static_cast<int>(k.property)].push_back({k.key, k.line});
        }
        const int savedLine = line_;
        for (int p = 0; p < kPropertyCount; ++p) {
            auto& list = keys[p];
            std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
                return a.first.frame < b.first.frame;
            });
            std::vector<Keyframe> sorted;
            sorted.reserve(list.size());
            for (size_t i = 0; i < list.size(); ++i) {
                if (i > 0 && list[i].first.frame == list[i - 1].first.frame) {
                    line_ = std::max(list[i].second, list[i - 1].second);
                    fail(texts::kMovieDuplicateKey.arg(QLatin1String(kProperties[p].name))
                             .arg(list[i].first.frame));
                }
                sorted.push_back(list[i].first);
            }
            layer_->tracks[p] = Track(std::move(sorted));
        }
        for (int p = 0; p < kColorPropertyCount; ++p) {
            std::vector<std::pair<ColorKey, int>> list;
            for (PendingColorKey& k : pendingColors_) {
                if (static_cast<int>(k.property) == p) {
                    if (k.atLayerStart) {
                        k.key.frame = layer_->firstFrame;
                    }
                    list.push_back({k.key, k.line});
                }
            }
            std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
                return a.first.frame < b.first.frame;
            });
            std::vector<ColorKey> sorted;
            for (size_t i = 0; i < list.size(); ++i) {
                if (i > 0 && list[i].first.frame == list[i - 1].first.frame) {
                    line_ = std::max(list[i].second, list[i - 1].second);
                    fail(texts::kMovieDuplicateKey.arg(QLatin1String(kColorProperties[p].name))
                             .arg(list[i].first.frame));
                }
                sorted.push_back(list[i].first);
            }
            layer_->colorTracks[p] = ColorTrack(std::move(sorted));
        }
        line_ = savedLine;
        pending_.clear();
        pendingColors_.clear();
        layer_ = nullptr;
    }

    QString file_;
    Movie movie_;
    int line_ = 0;
    std::vector<Token> tokens_;
    size_t next_ = 0;
    Layer* layer_ = nullptr;
    std::vector<PendingKey> pending_;
    std::vector<PendingColorKey> pendingColors_;
    std::vector<size_t> openGroups_;  // indices of the groups not yet ended, innermost last
    QStringList seenHeaderWords_;
    QStringList seenLayerWords_;
};

}  // namespace

Movie parseMovie(const QByteArray& bytes, const QString& file) {
    return Parser(file).parse(bytes);
}

Movie readMovie(const QString& path) {
    const QByteArray bytes = readWholeFile(path);
    Movie movie = parseMovie(bytes, path);
    movie.folder = QFileInfo(path).absolutePath() + u'/';
    return movie;
}

QString easingName(Easing easing) {
    if (easing == Easing::CubicBezier) {
        return QLatin1String(kBezierWord);
    }
    for (const Choice<Easing>& c : kEasings) {
        if (c.value == easing) {
            return QLatin1String(c.name);
        }
    }
    return {};
}

QString propertyName(Property property) {
    return QLatin1String(info(property).name);
}

QString colorPropertyName(ColorProperty property) {
    return QLatin1String(kColorProperties[static_cast<int>(property)].name);
}

Emitter defaultEmitter(ParticleKind kind) {
    Emitter e;
    e.kind = kind;
    switch (kind) {
        case ParticleKind::Petals:
            e.count = 40;
            e.size = {18.0, 34.0};
            e.speed = {60.0, 120.0};
            e.drift = {-40.0, 40.0};
            e.lifetime = {4.0, 8.0};
            e.colors = {QColor(0xff, 0xc4, 0xd6), QColor(0xff, 0xb0, 0xc8),
                        QColor(0xff, 0xe4, 0xec)};
            break;
        case ParticleKind::Snow:
            e.count = 80;
            e.size = {6.0, 16.0};
            e.speed = {40.0, 90.0};
            e.drift = {-20.0, 20.0};
            e.lifetime = {6.0, 10.0};
            e.colors = {QColor(255, 255, 255, 230)};
            break;
        case ParticleKind::Bokeh:
            e.count = 24;
            e.size = {50.0, 140.0};
            e.speed = {-20.0, -5.0};
            e.drift = {-10.0, 10.0};
            e.lifetime = {4.0, 8.0};
            e.colors = {QColor(255, 236, 190, 110), QColor(255, 210, 220, 100)};
            break;
        case ParticleKind::Sparkles:
            e.count = 30;
            e.size = {14.0, 34.0};
            e.speed = {-10.0, 10.0};
            e.drift = {-10.0, 10.0};
            e.lifetime = {0.8, 2.0};
            e.colors = {QColor(255, 250, 225)};
            break;
    }
    return e;
}

QString revealStyleName(RevealStyle style) {
    for (const Choice<RevealStyle>& c : kRevealStyles) {
        if (c.value == style) {
            return QLatin1String(c.name);
        }
    }
    return {};
}

}  // namespace vellumo::movie
