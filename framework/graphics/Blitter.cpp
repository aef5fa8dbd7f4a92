// Drawing one image into another. The source rectangle is clipped against the
// source and the target once per call, so no coordinates, however wild, make
// the loops read or write outside either pixel block.
#include "framework/graphics/Blitter.h"

#include "framework/graphics/BlendWeights.h"
#include "framework/graphics/ImageImpl.h"
#include "framework/graphics/RowDrawing.h"

#include <algorithm>
#include <cstring>

namespace lum {

const std::array<float, 256>& Blitter::weights() {
    return BlendWeights::table();
}

Blitter::Span Blitter::clipSpan(std::int64_t sourceFrom, std::int64_t sourceTo, std::int64_t dest,
                                std::int64_t sourceSize, std::int64_t targetSize) {
    Span span{};
    span.step = sourceTo < sourceFrom ? -1 : 1;
    span.sourceStart = sourceFrom;
    span.targetStart = dest;
    // Inside the rectangle and inside the target.
    span.first = std::max<std::int64_t>(0, -dest);
    span.last = std::min(span.step * (sourceTo - sourceFrom), targetSize - dest);
    // Inside the source: a forward walk must start at 0 or later and stay below
    // the size; a mirrored one must start below the size and stay at 0 or above.
    if (span.step > 0) {
        span.first = std::max(span.first, -sourceFrom);
        span.last = std::min(span.last, sourceSize - sourceFrom);
    } else {
        span.first = std::max(span.first, sourceFrom - sourceSize + 1);
        span.last = std::min(span.last, sourceFrom + 1);
    }
    return span;
}

void Blitter::drawImage(ImageImpl& target, const ImageImpl& source, std::int64_t srcX1, std::int64_t srcY1,
                        std::int64_t srcX2, std::int64_t srcY2, std::int64_t destX, std::int64_t destY) {
    if (&target == &source || source.getOpacity() == 0)
        return;
    const Span rows = clipSpan(srcY1, srcY2, destY, source.getHeight(), target.getHeight());
    const Span columns = clipSpan(srcX1, srcX2, destX, source.getWidth(), target.getWidth());
    if (rows.empty() || columns.empty())
        return;

    const std::int64_t sourceWidth = source.getWidth();
    const std::int64_t targetWidth = target.getWidth();
    const std::int64_t sourceColumn = columns.sourceStart + columns.first * columns.step;
    const std::int64_t targetColumn = columns.targetStart + columns.first;
    const std::int64_t sourceRow = rows.sourceStart + rows.first * rows.step;
    const std::int64_t targetRow = rows.targetStart + rows.first;
    const std::size_t width = static_cast<std::size_t>(columns.last - columns.first);
    const std::size_t height = static_cast<std::size_t>(rows.last - rows.first);
    const RowMode mode = chooseMode(target, source, columns.step);
    // Copied over the whole target, what the target held does not matter; a
    // keyed picture over a whole target still waiting to be cleared to an
    // opaque colour takes that colour where it is keyed, without the clear.
    const bool coversAll = width == target.getWidth() && height == target.getHeight();
    const Colour* const pendingClear = target.getPendingClear();
    const bool overClear = coversAll && mode == RowMode::Selected && pendingClear != nullptr &&
                           pendingClear->getAlpha() == 255;
    const Colour under = overClear ? *pendingClear : Colour(0, 0, 0, 255);
    // Only red, green and blue change. A copy names the rows it changed itself.
    ImageImpl::Write write{static_cast<unsigned int>(targetRow), static_cast<unsigned int>(height),
                           ImageImpl::Effect::Recolour};
    write.wholeImage = coversAll && (mode == RowMode::Copied || overClear);
    if (mode == RowMode::Copied)
        write.rowCount = 0;
    Colour* const targetPixels = target.beginWrite(write);
    const PixelRect rect{targetPixels + targetRow * targetWidth + targetColumn,
                         static_cast<std::ptrdiff_t>(targetWidth),
                         source.getPixels() + sourceRow * sourceWidth + sourceColumn,
                         static_cast<std::ptrdiff_t>(rows.step * sourceWidth),
                         width, height};
    if (overClear)
        RowDrawing::drawOverColour(rect, source.containsTransparentColour() ? source.getTransparentColour() : nullptr,
                                   under);
    else if (mode == RowMode::Copied)
        copyRows(target, static_cast<unsigned int>(targetRow), rect);
    else
        drawRect(mode, rect, source, target.getAlphaClass() == AlphaClass::Opaque);
}

Blitter::RowMode Blitter::chooseMode(const ImageImpl& target, const ImageImpl& source, std::int64_t step) {
    if (step < 0)
        return RowMode::Mirrored;
    const AlphaClass sourceClass = source.getAlphaClass();
    if (source.getOpacity() != 255 || sourceClass == AlphaClass::Mixed)
        return RowMode::Blended;
    // Opaque onto opaque with nothing keyed: the bytes themselves, alpha
    // included, are what the rules give.
    if (sourceClass == AlphaClass::Opaque && !source.containsTransparentColour() &&
        target.getAlphaClass() == AlphaClass::Opaque)
        return RowMode::Copied;
    return RowMode::Selected;
}

// A picture drawn again over itself, as a background is each frame, leaves
// most rows as they were: comparing only reads, where writing would also
// fetch and write back every line. Only rows that changed are marked.
void Blitter::copyRows(ImageImpl& target, unsigned int targetRow, const PixelRect& rect) {
    const std::size_t bytes = rect.width * sizeof(Colour);
    for (std::size_t row = 0; row < rect.rows; ++row) {
        Colour* to = rect.target + static_cast<std::ptrdiff_t>(row) * rect.targetStride;
        const Colour* from = rect.source + static_cast<std::ptrdiff_t>(row) * rect.sourceStride;
        if (std::memcmp(to, from, bytes) == 0)
            continue;
        std::memcpy(static_cast<void*>(to), from, bytes);
        target.rowsChanged(targetRow + static_cast<unsigned int>(row), 1);
    }
}

void Blitter::drawRect(RowMode mode, const PixelRect& rect, const ImageImpl& source, bool opaqueTarget) {
    // An opacity below 255 scales every weight: its table is made once per draw.
    BlendWeights::Table scaled;
    if (source.getOpacity() != 255)
        BlendWeights::forOpacity(source.getOpacity(), scaled);
    const BlendWeights::Table& weights = source.getOpacity() != 255 ? scaled : BlendWeights::forOpaqueImage();
    // A transparent colour that no pixel has need not be looked for.
    const Colour* key = source.containsTransparentColour() ? source.getTransparentColour() : nullptr;
    if (mode == RowMode::Selected)
        RowDrawing::draw(rect, key, nullptr, opaqueTarget);
    else if (mode == RowMode::Blended)
        RowDrawing::draw(rect, key, &weights, opaqueTarget);
    else
        RowDrawing::drawMirrored(rect, key, weights);
}

} // namespace lum
