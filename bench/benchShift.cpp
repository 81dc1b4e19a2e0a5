// Translational alignment and shift measurement of 520 x 520 images (the smallest valid
// transform side above 512; the transforms take only divisors of 720720): the
// centre-of-mass alignTranslation, and measureShift at 1/100 pixel, plain and
// phase-normalised. With --cases=DIR the program first writes the test images to DIR for
// the peer script (bench/shiftPeer.sh), measures our accuracy on them and prints it:
//   DIR/timing.f32        reference and moved image, 520 x 520 floats each
//   DIR/<set>.f32, .txt   pairs of 130 x 130 images (reference, moved) and the moves
//                         (tx, ty), for the sets "clean" and "snr1" (noise of the
//                         signal's variance added to both images of a pair)
//   DIR/ours.txt          "<set> <method> <rms error> <median error>" per line
// The images are sums of random Gaussian blobs (sigma 1.5 ... 4 pixels), moved by
// evaluating the blobs at shifted positions: band-limited to float precision, so the
// shift is the same as a Fourier shift.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analysis/shiftMeasurement.h"
#include "analysis/translationalAlignment.h"
#include "image/Image.h"

namespace {

using tarnview::Image;

struct Blob {
    double x, y, sigma, amplitude;
};

std::vector<Blob> randomBlobs(int side, int count, std::mt19937& generator) {
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<Blob> blobs;
    for (int i = 0; i < count; i++)
        blobs.push_back({side * uniform(generator), side * uniform(generator), 1.5 + 2.5 * uniform(generator),
                         0.5 + uniform(generator)});
    return blobs;
}

// The blobs moved by (tx, ty), each evaluated over its 7-sigma box with circular wrap.
std::unique_ptr<Image> render(const std::vector<Blob>& blobs, int side, double tx, double ty) {
    auto image = std::make_unique<Image>();
    image->resize(side, side, 1);
    float* data = image->getData();
    std::fill(data, data + side * side, 0.0f);
    for (const Blob& b : blobs) {
        const double cx = b.x + tx, cy = b.y + ty;
        const int reach = int(std::ceil(7 * b.sigma));
        for (int y = int(std::floor(cy)) - reach; y <= int(std::floor(cy)) + reach; y++)
            for (int x = int(std::floor(cx)) - reach; x <= int(std::floor(cx)) + reach; x++) {
                const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                const int wx = ((x % side) + side) % side, wy = ((y % side) + side) % side;
                data[wy * side + wx] += float(b.amplitude * std::exp(-d2 / (2 * b.sigma * b.sigma)));
            }
    }
    image->updateStatistics();
    return image;
}

void addNoise(Image& image, double sigma, std::mt19937& generator) {
    std::normal_distribution<double> noise(0.0, sigma);
    float* data = image.getData();
    for (int i = 0; i < image.getNx() * image.getNy(); i++) data[i] = float(data[i] + noise(generator));
    image.updateStatistics();
}

struct Pair {
    std::unique_ptr<Image> reference, moved;
    double tx, ty;
};

// 520 x 520 blobs, the second moved by (-6.37, 2.81).
const Pair& timingPair() {
    static Pair pair = [] {
        std::mt19937 generator(520);
        const auto blobs = randomBlobs(520, 600, generator);
        return Pair{render(blobs, 520, 0, 0), render(blobs, 520, -6.37, 2.81), -6.37, 2.81};
    }();
    return pair;
}

// Runs f with standard output sent to a temporary file and returns what it printed.
template <typename F>
std::string printedBy(F f) {
    std::fflush(stdout);
    FILE* sink = std::tmpfile();
    const int saved = dup(1);
    dup2(fileno(sink), 1);
    f();
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    std::string text;
    std::rewind(sink);
    for (int c; (c = std::fgetc(sink)) != EOF;) text += char(c);
    std::fclose(sink);
    return text;
}

void alignTranslation520(benchmark::State& state) {
    const Pair& p = timingPair();
    Image other;
    other.resize(520, 520, 1);
    printedBy([&] {
        for (auto _ : state) {
            state.PauseTiming();
            std::memcpy(other.getData(), p.moved->getData(), 520 * 520 * sizeof(float));
            other.updateStatistics();
            state.ResumeTiming();
            tarnview::alignTranslation(*p.reference, &other, 1);
        }
    });
}

void measureShift520(benchmark::State& state) {
    const Pair& p = timingPair();
    tarnview::MeasuredShift shift;
    for (auto _ : state) tarnview::measureShift(*p.reference, *p.moved, 100, int(state.range(0)), shift);
    benchmark::DoNotOptimize(shift);
}

BENCHMARK(alignTranslation520)->Unit(benchmark::kMillisecond);
BENCHMARK(measureShift520)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void writeImages(FILE* file, const Image& image) {
    std::fwrite(image.getData(), sizeof(float), size_t(image.getNx()) * image.getNy(), file);
}

// The Part-style estimator's shift, read from alignTranslation's "translate" line.
bool centreOfMassShift(const Pair& p, double& dx, double& dy) {
    Image other;
    other.resize(p.moved->getNx(), p.moved->getNy(), 1);
    std::memcpy(other.getData(), p.moved->getData(), sizeof(float) * size_t(other.getNx()) * other.getNy());
    other.updateStatistics();
    const std::string out = printedBy([&] { tarnview::alignTranslation(*p.reference, &other, 1); });
    const size_t at = out.find("translate ");
    return at != std::string::npos && std::sscanf(out.c_str() + at, "translate %lf,%lf", &dx, &dy) == 2;
}

// 50 pairs of 130 x 130 images moved by up to 8 pixels each way, with noise of the
// signal's variance on both images when noisy.
std::vector<Pair> makeSet(bool noisy, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> move(-8.0, 8.0);
    std::vector<Pair> set;
    for (int k = 0; k < 50; k++) {
        const auto blobs = randomBlobs(130, 40, generator);
        const double tx = move(generator), ty = move(generator);
        Pair p{render(blobs, 130, 0, 0), render(blobs, 130, tx, ty), tx, ty};
        if (noisy) {
            const double sigma = p.reference->getSigmaDouble();
            addNoise(*p.reference, sigma, generator);
            addNoise(*p.moved, sigma, generator);
        }
        set.push_back(std::move(p));
    }
    return set;
}

// The measured shift of a pair should be (-tx, -ty); the error is the distance to it,
// circular, or NaN when a method finds no shift.
double errorOf(const Pair& p, bool found, double dx, double dy) {
    if (!found) return NAN;
    const double ex = std::remainder(dx + p.tx, 130.0), ey = std::remainder(dy + p.ty, 130.0);
    return std::hypot(ex, ey);
}

void report(FILE* out, const char* set, const char* method, std::vector<double> errors) {
    double squares = 0;
    for (double e : errors) squares += e * e;
    std::sort(errors.begin(), errors.end());
    const double rms = std::sqrt(squares / double(errors.size())), median = errors[errors.size() / 2];
    std::fprintf(out, "%s %s %.5f %.5f\n", set, method, rms, median);
    std::printf("accuracy %-6s %-18s rms %.5f px, median %.5f px\n", set, method, rms, median);
}

void evaluate(FILE* out, const char* name, const std::vector<Pair>& set) {
    std::vector<double> centre, plain, phase;
    for (const Pair& p : set) {
        double dx = 0, dy = 0;
        const bool found = centreOfMassShift(p, dx, dy);
        centre.push_back(errorOf(p, found, dx, dy));
        tarnview::MeasuredShift m;
        const bool plainFound = tarnview::measureShift(*p.reference, *p.moved, 100, 0, m);
        plain.push_back(errorOf(p, plainFound, m.dx, m.dy));
        const bool phaseFound = tarnview::measureShift(*p.reference, *p.moved, 100, 1, m);
        phase.push_back(errorOf(p, phaseFound, m.dx, m.dy));
    }
    report(out, name, "centreOfMass", centre);
    report(out, name, "measureShift", plain);
    report(out, name, "measureShiftPhase", phase);
}

bool writeSet(const std::string& dir, const char* name, const std::vector<Pair>& set) {
    FILE* images = std::fopen((dir + "/" + name + ".f32").c_str(), "wb");
    FILE* moves = std::fopen((dir + "/" + name + ".txt").c_str(), "w");
    if (images && moves)
        for (const Pair& p : set) {
            writeImages(images, *p.reference);
            writeImages(images, *p.moved);
            std::fprintf(moves, "%.9f %.9f\n", p.tx, p.ty);
        }
    const bool ok = images && moves;
    if (images) std::fclose(images);
    if (moves) std::fclose(moves);
    return ok;
}

bool writeCases(const std::string& dir) {
    FILE* timing = std::fopen((dir + "/timing.f32").c_str(), "wb");
    FILE* ours = std::fopen((dir + "/ours.txt").c_str(), "w");
    if (!timing || !ours) {
        std::printf("cannot write the cases to %s\n", dir.c_str());
        if (timing) std::fclose(timing);
        if (ours) std::fclose(ours);
        return false;
    }
    writeImages(timing, *timingPair().reference);
    writeImages(timing, *timingPair().moved);
    std::fclose(timing);
    const std::vector<Pair> clean = makeSet(false, 130), noisy = makeSet(true, 131);
    const bool ok = writeSet(dir, "clean", clean) && writeSet(dir, "snr1", noisy);
    evaluate(ours, "clean", clean);
    evaluate(ours, "snr1", noisy);
    std::fclose(ours);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; i++)
        if (std::strncmp(argv[i], "--cases=", 8) == 0) {
            if (!writeCases(argv[i] + 8)) return 1;
            std::memmove(argv + i, argv + i + 1, sizeof(char*) * size_t(argc - i));
            argc--;
            break;
        }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
