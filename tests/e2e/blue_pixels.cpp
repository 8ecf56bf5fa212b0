// Counts the pure blue pixels of an image inside a rectangle: blue_pixels FILE X Y W H.
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s FILE X Y WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const int left = std::atoi(argv[2]);
    const int top = std::atoi(argv[3]);
    const int width = std::atoi(argv[4]);
    const int height = std::atoi(argv[5]);
    long count = 0;
    for (int y = top; y < top + height && y < image.height(); ++y) {
        for (int x = left; x < left + width && x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFFU) == 0x0000FFU) {
                ++count;
            }
        }
    }
    std::printf("%ld\n", count);
    return 0;
}
