// Moving and drawing the highlighted choice.
#include "shell/choiceList.h"

#include "framework/App.h"
#include "game/centredText.h"

namespace {

constexpr int LINE_SPACING = 100;

} // namespace

void choiceList::moveHighlight(int& selectedItem, int lineCount, const lum::KeyEvent& event) {
    if (event.state != lum::PRESSED) return;
    if (event.key == lum::KEY_UP && selectedItem > 0) --selectedItem;
    if (event.key == lum::KEY_DOWN && selectedItem < lineCount - 1) ++selectedItem;
}

void choiceList::twoLineKeys(int& selectedItem, const std::string& topState, const lum::KeyEvent& event) {
    if (event.key == lum::KEY_ESCAPE) {
        lum::application.exit();
    } else if (event.key == lum::KEY_SPACE) {
        if (selectedItem == 0) {
            lum::application.setState(topState);
        } else {
            lum::application.exit();
        }
    } else {
        moveHighlight(selectedItem, 2, event);
    }
}

void choiceList::drawLine(lum::Image& target, const lum::Font& font, const lum::Colour& colour,
                          const std::string& text, int index) {
    centredText::draw(target, font, text, colour, centredText::screenCentreX(),
                      centredText::screenCentreY() + LINE_SPACING - LINE_SPACING * index);
}

void choiceList::drawChoices(lum::Image& target, const std::vector<std::string>& lines, int selectedItem,
                             const lum::Font& bigFont, const lum::Font& smallFont, const lum::Colour& colour) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int index = static_cast<int>(i);
        drawLine(target, index == selectedItem ? bigFont : smallFont, colour, lines[i], index);
    }
}
