#include "app/converter.h"

#include <memory>

#include "app/appMessages.h"
#include "app/commandLine.h"
#include "app/displayOptions.h"
#include "app/fftOption.h"
#include "formats/ImageList.h"
#include "formats/imagicReader.h"
#include "formats/mrcReader.h"
#include "formats/salReader.h"
#include "image/Image.h"
#include "image/pgmWriter.h"

namespace tarnview {

namespace {

// Reads the input named on the command line with the chosen reader; null after the
// reader's and the converter's messages.
std::unique_ptr<Image> readInput(const CommandLine& line) {
    const char* path = line.inputPath;
    if (line.inputType == mrcInput) {
        auto image = std::make_unique<Image>();
        const bool read =
            line.section == noSection ? readMrc(*image, path) : readMrcSection(*image, path, line.section);
        if (read) return image;
        printCannotReadMrc(path);
        return nullptr;
    }
    if (line.inputType == salInput) {
        auto image = std::make_unique<Image>();
        if (readSal(*image, path)) return image;
        printCannotReadSal(path);
        return nullptr;
    }
    // IMAGIC: the first image of the stack; the others are released with the list.
    ImageList* list = readImagic(path);
    if (list == nullptr || count(list) < 1) {
        if (list) destroyWithImages(list);
        printCannotReadImagic(path);
        return nullptr;
    }
    std::unique_ptr<Image> first(static_cast<Image*>(removeAt(list, 0)));
    destroyWithImages(list);
    return first;
}

}  // namespace

int runConverter(int argc, const char* const* argv) {
    CommandLine line;
    if (!parseCommandLine(argc, argv, line)) {
        printUsage();
        return 1;
    }
    // -z names a section of an MRC file: a word that is no section number, or another
    // input type, is refused before anything is read.
    if (line.badSection != nullptr) {
        printBadSection(line.badSection);
        return 1;
    }
    if (line.section != noSection && line.inputType != mrcInput) {
        printSectionNeedsMrc();
        return 1;
    }
    if (line.fft && line.display.psd) {
        printFftWithPsd();
        return 1;
    }

    std::unique_ptr<Image> image = readInput(line);
    if (!image) return 1;
    if (!binAsRead(line.display, image)) return 1;

    if (line.fft) {
        const FftOutcome outcome = replaceByFourierTransform(image);
        if (outcome == FftOutcome::notSquare) return 0;
        if (outcome == FftOutcome::failed) return 1;
    }
    if (line.display.psd && !replaceByPowerSpectrum(line.display, image)) return 1;

    if (line.verbose)
        printImageReport(image->getNx(), image->getNy(), image->getMin(), image->getMax(), image->getMean(),
                         image->getSigma(), image->getGreyLow(), image->getGreyHigh());

    if (!applyContrastRule(line.display, *image)) return 1;
    if (line.maxGrey < limitNotGiven) image->setGreyLimits(image->getGreyLow(), line.maxGrey);
    if (line.minGrey < limitNotGiven) image->setGreyLimits(line.minGrey, image->getGreyHigh());

    writePgm(*image, line.outputPath);  // reports its own failures; the status stays 0
    return 0;
}

}  // namespace tarnview
