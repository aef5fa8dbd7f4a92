// Writes the game's pictures as BMP files into the folder named on the
// command line: the two backgrounds, the snake's head and body, and the five
// kinds of food. Everything is computed, nothing random: the same files every
// time.
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageFile.h"
#include "tools/assets/Backgrounds.h"
#include "tools/assets/Sprites.h"

#include <exception>
#include <iostream>
#include <string>

namespace {

void save(const std::string& folder, const std::string& name, const lum::Image& image) {
    lum::ImageFile(folder + "/" + name).save(image);
    std::cout << name << ": " << image.getWidth() << " x " << image.getHeight() << "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_pictures OUTPUT_FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    try {
        save(folder, "gameBackground.bmp", pictures::gameBackground());
        save(folder, "mainMenu.bmp", pictures::mainMenu());
        save(folder, "snakeHead.bmp", pictures::snakeHead());
        save(folder, "snakeBit.bmp", pictures::snakeBit());
        for (int value = 1; value <= pictures::foodKinds; ++value) {
            save(folder, "food" + std::to_string(value) + ".bmp", pictures::food(value));
        }
    } catch (const std::exception& error) {
        std::cerr << "make_pictures: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
