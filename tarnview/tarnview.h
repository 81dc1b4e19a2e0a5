#pragma once
// The whole public interface of the tarnview library in one include. Every public header
// of the subsystem folders is listed here (a folder's messages file and the FFT
// engine's internals are not public); the installed-package test checks the list.

// Images, statistics, grey limits, rendering and PGM output.
#include "image/BoxRecord.h"
#include "image/GreyLimits.h"
#include "image/Image.h"
#include "image/ImagicRecord.h"
#include "image/MrcHeader.h"
#include "image/chunkedWrite.h"
#include "image/messageSink.h"
#include "image/parameters.h"
#include "image/pgmWriter.h"
#include "image/progress.h"
#include "image/render.h"
#include "image/sampleBuffer.h"

// File formats: readers and writers, the image list, byte order, external programs.
#include "formats/CommandPipe.h"
#include "formats/ImageList.h"
#include "formats/InputFile.h"
#include "formats/boxDatabase.h"
#include "formats/byteOrder.h"
#include "formats/convertedReader.h"
#include "formats/imagicReader.h"
#include "formats/imagicWriter.h"
#include "formats/mrcReader.h"
#include "formats/mrcWriter.h"
#include "formats/pathName.h"
#include "formats/salReader.h"
#include "formats/sampleLoaders.h"

// Fourier transforms, padding and random numbers.
#include "fourier/amplitudePhase.h"
#include "fourier/fftEngine.h"
#include "fourier/fftReal.h"
#include "fourier/fftSizes.h"
#include "fourier/imageFourier.h"
#include "fourier/noisePadding.h"
#include "fourier/random.h"
#include "fourier/rowFrequency.h"

// Image analysis.
#include "analysis/RingSampler.h"
#include "analysis/averaging.h"
#include "analysis/centring.h"
#include "analysis/columnsFile.h"
#include "analysis/crossCorrelation.h"
#include "analysis/curveFilters.h"
#include "analysis/fourierProfile.h"
#include "analysis/frequencyRadius.h"
#include "analysis/masks.h"
#include "analysis/pointOperations.h"
#include "analysis/polarPhase.h"
#include "analysis/regions.h"
#include "analysis/rotation.h"
#include "analysis/rotationalAlignment.h"
#include "analysis/shiftMeasurement.h"
#include "analysis/translation.h"
#include "analysis/translationalAlignment.h"
