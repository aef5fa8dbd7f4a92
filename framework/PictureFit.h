// Where the screen image is shown in a window (or canvas) of another size: the
// largest rectangle of the image's aspect that fits, centred, with black bars
// on the other sides. Sizes and positions are in the output's own pixels
// (device pixels on a scaled display). Whole factors are exact; smooth scaling
// lies between them. Mouse positions are mapped back to image pixels, clamped
// to the picture's edge when they lie over a bar or outside the output.
#pragma once

namespace lum {

class PictureFit {
public:
    enum class Scaling {
        Smooth,      // the picture fills what fits, whole factor or not
        WholeFactors // only whole factors (larger bars); smaller outputs shrink
    };
    // LUM_SCALING=integer asks for whole factors; anything else is smooth.
    static Scaling scalingFromEnvironment();
    static Scaling scalingNamed(const char* name);

    PictureFit() = default;
    PictureFit(unsigned int imageWidth, unsigned int imageHeight, int outputWidth, int outputHeight,
               Scaling scaling);

    int getX() const { return x; }
    int getY() const { return y; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getOutputWidth() const { return outputWidth; }
    int getOutputHeight() const { return outputHeight; }
    unsigned int getImageWidth() const { return imageWidth; }
    unsigned int getImageHeight() const { return imageHeight; }

    // k when every image pixel becomes exactly a k × k block, else 0.
    unsigned int wholeFactor() const;
    // For smooth scaling between whole factors: the whole factor the image is
    // first enlarged to by nearest sampling, before it is drawn smoothly down
    // to its place, so text keeps its edges. 1 where it shrinks.
    unsigned int sharpFactor() const;
    // Whether the picture leaves bars (the output must be cleared around it).
    bool hasBars() const;

    // An output position to the image column and the row counted from the top.
    void toImage(int outputX, int outputY, int& column, int& row) const;
    // The first output position that shows an image column and top-counted row.
    void toOutput(int column, int row, int& outputX, int& outputY) const;

    bool operator==(const PictureFit& other) const;
    bool operator!=(const PictureFit& other) const { return !(*this == other); }

private:
    void fitSmoothly();

    unsigned int imageWidth = 0;
    unsigned int imageHeight = 0;
    int outputWidth = 0;
    int outputHeight = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

} // namespace lum
