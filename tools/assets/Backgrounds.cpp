// The full-screen pictures. Colours stay dark and calm where the game draws
// on top of them: the score line in bright green along the top of the field,
// the menu lines in white and red in the middle of the menu.
#include "tools/assets/Backgrounds.h"

#include "framework/graphics/Colour.h"
#include "tools/assets/Canvas.h"
#include "tools/assets/PixelFont.h"
#include "tools/assets/Sprites.h"

#include <cmath>
#include <string>

namespace pictures {

namespace {

// The score line's strip: its labels are centred 25 and 30 pixels below the top.
constexpr int stripBottom = 548;
constexpr int tile = 20; // two snake cells, so the tiles line up with the snakes' path

// The field's darkening toward its edges, 1 in the middle.
double vignette(double x, double y) {
    const double dx = (x - screenWidth / 2.0) / (screenWidth / 2.0);
    const double dy = (y - stripBottom / 2.0) / (stripBottom / 2.0);
    return 1.0 - 0.38 * smoothstep(0.45, 1.45, std::hypot(dx, dy));
}

Rgb floorTile(int x, int y) {
    const int column = x / tile, row = y / tile;
    const Rgb even{28, 35, 50}, odd{33, 41, 57};
    Rgb colour = (column + row) % 2 == 0 ? even : odd;
    // Worn stone: each tile a little lighter or darker, mottled with moss.
    colour = scaled(colour, 0.94 + 0.12 * hashNoise(column, row, 11));
    colour = mix(colour, Rgb{28, 58, 50}, 0.6 * smoothstep(0.35, 0.9, smoothNoise(x / 70.0, y / 70.0, 12)));
    colour = scaled(colour, 0.96 + 0.06 * hashNoise(x, y, 13));
    // Bevelled edges: light along a tile's top and left, dark along the rest.
    const int u = x % tile, v = y % tile;
    if (v == tile - 1 || u == 0) colour = scaled(colour, 1.22);
    if (v == 0 || u == tile - 1) colour = scaled(colour, 0.72);
    // The strip above casts a soft shadow onto the field.
    const double shadow = 1.0 - 0.45 * smoothstep(stripBottom - 14.0, stripBottom, y);
    return scaled(colour, vignette(x + 0.5, y + 0.5) * shadow);
}

Rgb scoreStrip(int, int y) {
    // Near black, a little lighter toward the top, so that green text reads.
    return mix(Rgb{8, 10, 16}, Rgb{16, 20, 30}, (y - stripBottom) / double(screenHeight - stripBottom));
}

// Pebbles and tufts of grass scattered over the floor, dim enough that food
// and snakes stand out against them.
void paintFloorLitter(Canvas& canvas) {
    for (int pebble = 0; pebble < 70; ++pebble) {
        const double x = 8 + hashNoise(pebble, 0, 41) * (screenWidth - 16);
        const double y = 8 + hashNoise(pebble, 1, 41) * (stripBottom - 30);
        const double size = 1.2 + 2.2 * hashNoise(pebble, 2, 41);
        const double turn = 180.0 * hashNoise(pebble, 3, 41);
        const Rgb stone = mix(Rgb{52, 60, 74}, Rgb{70, 74, 82}, hashNoise(pebble, 4, 41));
        const double light = vignette(x, y);
        canvas.fill(Shape::ellipse(x + 0.8, y - 0.8, size * 1.3, size, turn), Rgb{0, 0, 0}, 0.3);
        canvas.fill(Shape::ellipse(x, y, size * 1.3, size, turn), scaled(stone, light));
        canvas.fill(Shape::ellipse(x - size * 0.3, y + size * 0.3, size * 0.5, size * 0.35, turn), scaled(Rgb{110, 118, 130}, light), 0.5);
    }
    for (int tuft = 0; tuft < 45; ++tuft) {
        const double x = 10 + hashNoise(tuft, 0, 43) * (screenWidth - 20);
        const double y = 10 + hashNoise(tuft, 1, 43) * (stripBottom - 40);
        const Rgb blade = scaled(mix(Rgb{40, 90, 50}, Rgb{60, 110, 60}, hashNoise(tuft, 2, 43)), vignette(x, y));
        for (int leaf = -2; leaf <= 2; ++leaf) {
            const double height = 5.0 + 3.0 * hashNoise(tuft, 3 + leaf, 43) - std::abs(leaf);
            canvas.fill(Shape::line(x + leaf * 1.2, y, x + leaf * 2.4, y + height, 0.9), blade, 0.75);
        }
    }
}

void drawFieldEdges(lum::Image& image) {
    const lum::Colour rim(70, 120, 140, 255), glow(40, 70, 85, 255);
    image.drawLine(0, stripBottom, screenWidth - 1, stripBottom, rim);
    image.drawLine(0, stripBottom + 1, screenWidth - 1, stripBottom + 1, glow);
    image.drawLine(0, 0, screenWidth - 1, 0, rim);
    image.drawLine(0, 0, 0, stripBottom - 1, rim);
    image.drawLine(screenWidth - 1, 0, screenWidth - 1, stripBottom - 1, rim);
}

// ---------------------------------------------------------------------------
// The menu

Rgb sky(int x, int y) {
    const double height = y / double(screenHeight);
    Rgb colour = mix(Rgb{52, 22, 74}, Rgb{6, 8, 26}, smoothstep(0.0, 0.85, height));
    // Faint clouds of light: a violet and a blue haze.
    colour = mix(colour, Rgb{90, 50, 140}, 0.22 * smoothstep(0.45, 0.9, smoothNoise(x / 140.0, y / 70.0, 21)));
    colour = mix(colour, Rgb{40, 70, 140}, 0.16 * smoothstep(0.5, 0.95, smoothNoise(x / 110.0, y / 90.0, 22)));
    return colour;
}

// The darker panel behind the menu's lines, and its border.
constexpr double panelLeft = 176, panelBottom = 162, panelRight = 624, panelTop = 438;

bool insideMenuPanel(int x, int y) { return x >= panelLeft && x <= panelRight && y >= panelBottom && y <= panelTop; }

double farHills(double x) { return 150.0 + 22.0 * std::sin(x * 0.009 + 1.0) + 11.0 * std::sin(x * 0.023 + 0.3); }
double nearHills(double x) { return 96.0 + 18.0 * std::sin(x * 0.012 + 2.4) + 7.0 * std::sin(x * 0.031 + 1.1); }

void drawStars(lum::Image& image) {
    for (int star = 0; star < 220; ++star) {
        const int x = static_cast<int>(hashNoise(star, 0, 31) * screenWidth);
        const int y = 150 + static_cast<int>(hashNoise(star, 1, 31) * (screenHeight - 150));
        if (y < farHills(x) + 6 || insideMenuPanel(x, y)) continue;
        const double brightness = 0.35 + 0.65 * hashNoise(star, 2, 31);
        const auto level = static_cast<std::uint8_t>(110 + 145 * brightness);
        const lum::Colour colour(level, level, static_cast<std::uint8_t>(std::min(255, level + 25)), 255);
        image.plot(x, y, colour);
        if (brightness > 0.93) { // the brightest twinkle
            const lum::Colour soft(level / 2, level / 2, level / 2 + 20, 255);
            image.drawLine(x - 2, y, x - 1, y, soft).drawLine(x + 1, y, x + 2, y, soft);
            image.drawLine(x, y - 2, x, y - 1, soft).drawLine(x, y + 1, x, y + 2, soft);
        }
    }
}

void paintMoon(Canvas& canvas) {
    const double cx = 700.0, cy = 330.0, r = 34.0;
    for (int ring = 6; ring >= 1; --ring) {
        canvas.fill(Shape::circle(cx, cy, r + ring * 9.0), Rgb{120, 100, 170}, 0.05);
    }
    canvas.fill(Shape::circle(cx, cy, r), [=](double x, double y) {
        return mix(Rgb{250, 244, 220}, Rgb{200, 190, 175}, std::hypot(x - cx + 12, y - cy - 12) / (2.2 * r));
    });
    canvas.fill(Shape::circle(cx - 10, cy + 8, 7.0), Rgb{190, 180, 165}, 0.6);
    canvas.fill(Shape::circle(cx + 12, cy - 6, 5.0), Rgb{190, 180, 165}, 0.55);
    canvas.fill(Shape::circle(cx + 2, cy - 17, 4.0), Rgb{190, 180, 165}, 0.5);
}

void paintHills(Canvas& canvas) {
    canvas.fill(Shape::below(0, screenWidth, 190, farHills), [](double, double y) {
        return mix(Rgb{24, 13, 42}, Rgb{44, 22, 66}, y / 190.0);
    });
    canvas.fill(Shape::below(0, screenWidth, 130, nearHills), [](double, double y) {
        return mix(Rgb{10, 6, 20}, Rgb{22, 12, 36}, y / 130.0);
    });
}

// A snake slithering along the near hills toward an apple, drawn at twice the
// game's size from the same designs.
void paintSnake(Canvas& canvas) {
    constexpr double scale = 2.2, cell = snakeCell * scale;
    const auto path = [](double x) { return 36.0 + 14.0 * std::sin(x * 0.028); };
    for (double x = 70.0; x < 470.0; x += cell * 0.8) paintSnakeBit(canvas, x, path(x + cell / 2) - cell / 2, scale);
    paintSnakeHead(canvas, 470.0, path(470.0 + cell / 2) - cell / 2, scale);
    paintFood(canvas, 4, 535.0, 22.0, 1.6);
    paintFood(canvas, 2, 640.0, 40.0, 1.3);
    paintFood(canvas, 1, 730.0, 30.0, 1.2);
    paintFood(canvas, 5, 14.0, 20.0, 1.2);
}

void paintMenuPanel(Canvas& canvas) {
    canvas.fill(Shape::roundedRect(panelLeft, panelBottom, panelRight, panelTop, 20), Rgb{150, 110, 230}, 0.5);
    canvas.fill(Shape::roundedRect(panelLeft + 2, panelBottom + 2, panelRight - 2, panelTop - 2, 18), Rgb{6, 4, 14}, 0.75);
}

// The title's blocks, each bevelled, coloured from gold at the top to a warm
// orange at the bottom; its shadow is the same picture made dark and half
// transparent, blended under it by the engine.
constexpr int block = 16;
const std::string title = "Vellorin";

lum::Image titleBlocks() {
    const int width = PixelFont::width(title) * block, height = PixelFont::rows * block;
    Canvas canvas(width, height);
    for (const PixelFont::Cell& cell : PixelFont::layout(title)) {
        const double x = cell.column * block, y = cell.row * block;
        const double level = (y + block / 2.0) / height;
        const Rgb face = mix(Rgb{235, 85, 35}, Rgb{255, 215, 90}, level);
        canvas.fill(Shape::roundedRect(x, y, x + block - 1, y + block - 1, 2.5), scaled(face, 0.55));
        canvas.fill(Shape::roundedRect(x + 0.5, y + 2.5, x + block - 3.5, y + block - 1.5, 2.0),
                    mix(face, Rgb{255, 255, 235}, 0.45));
        canvas.fill(Shape::roundedRect(x + 2.5, y + 2.5, x + block - 3.5, y + block - 3.5, 1.5),
                    [=](double px, double py) { return mix(face, scaled(face, 0.82), (px - x + (y + block - py)) / (2.0 * block)); });
    }
    return canvas.toImage();
}

lum::Image shadowOf(const lum::Image& picture) {
    lum::Image shadow(picture);
    for (unsigned int y = 0; y < picture.getHeight(); ++y) {
        for (unsigned int x = 0; x < picture.getWidth(); ++x) {
            const lum::Colour pixel = picture.getPixel(x, y);
            if (pixel == lum::Colour(255, 0, 255, 255)) continue;
            shadow.plot(x, y, lum::Colour(0, 0, 0, static_cast<std::uint8_t>(pixel.getAlpha() * 0.6)));
        }
    }
    return shadow;
}

} // namespace

lum::Image gameBackground() {
    Canvas canvas(screenWidth, screenHeight);
    canvas.shade([](int x, int y) { return y >= stripBottom ? scoreStrip(x, y) : floorTile(x, y); });
    paintFloorLitter(canvas);
    lum::Image image = canvas.toImage();
    drawFieldEdges(image);
    return image;
}

lum::Image mainMenu() {
    Canvas canvas(screenWidth, screenHeight);
    canvas.shade(sky);
    paintMoon(canvas);
    // A glow behind where the title stands.
    for (int ring = 1; ring <= 8; ++ring) {
        canvas.fill(Shape::ellipse(400, 515, 70.0 + ring * 42.0, 22.0 + ring * 10.0), Rgb{140, 70, 210}, 0.035);
    }
    lum::Image image = canvas.toImage();
    drawStars(image);

    // The stars are in the picture now; the hills, snake and panel go over them.
    Canvas front(screenWidth, screenHeight);
    paintHills(front);
    paintSnake(front);
    paintMenuPanel(front);
    lum::Image layer = front.toImage();
    layer.setTransparentColour(lum::Colour(255, 0, 255, 255));
    image.drawImage(layer);

    lum::Image blocks = titleBlocks();
    blocks.setTransparentColour(lum::Colour(255, 0, 255, 255));
    lum::Image shadow = shadowOf(blocks);
    shadow.setTransparentColour(lum::Colour(255, 0, 255, 255));
    const int left = (screenWidth - static_cast<int>(blocks.getWidth())) / 2, bottom = 462;
    image.drawImage(shadow, 0, 0, shadow.getWidth(), shadow.getHeight(), left + 6, bottom - 6);
    image.drawImage(blocks, 0, 0, blocks.getWidth(), blocks.getHeight(), left, bottom);
    return image;
}

} // namespace pictures
