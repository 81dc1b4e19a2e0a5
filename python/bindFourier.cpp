// The fourier folder from Python: image transforms, noise padding, transform lengths,
// the 1-D transforms on numpy arrays and the random generator.
#include <complex>
#include <cstring>

#include "bindingSupport.h"
#include "fourier/fftEngine.h"
#include "fourier/fftReal.h"
#include "fourier/fftSizes.h"
#include "fourier/imageFourier.h"
#include "fourier/noisePadding.h"
#include "fourier/random.h"

namespace tarnview::python {

namespace {

using ComplexVector = py::array_t<std::complex<float>, py::array::c_style | py::array::forcecast>;
using RealVector = py::array_t<float, py::array::c_style | py::array::forcecast>;

void requireValidLength(py::ssize_t n) {
    if (n < 1 || n > fftLargestSize || !isFftSize(n))
        raiseArgument("Invalid FFT size " + std::to_string(n) + ": a length must divide 720720");
}

// A transformed copy of a 1-D complex array.
py::array complexTransform(const ComplexVector& z, int sign) {
    if (z.ndim() != 1) raiseArgument("fft_complex takes a 1-D array");
    const py::ssize_t n = z.shape(0);
    requireValidLength(n);
    ComplexVector out(n);
    std::memcpy(out.mutable_data(), z.data(), size_t(n) * sizeof(std::complex<float>));
    float* data = reinterpret_cast<float*>(out.mutable_data());
    {
        py::gil_scoped_release release;
        fftComplex(sign, int(n), data);
    }
    return out;
}

// The n/2 + 1 coefficients of a 1-D real array of even valid length n.
py::array realTransform(const RealVector& a, int sign) {
    if (a.ndim() != 1) raiseArgument("fft_real takes a 1-D array");
    const py::ssize_t n = a.shape(0);
    requireValidLength(n);
    if (n % 2 != 0) raiseArgument("fft_real takes an even length");
    ComplexVector out(n / 2 + 1);
    float* data = reinterpret_cast<float*>(out.mutable_data());
    int ok;
    {
        py::gil_scoped_release release;
        ok = fftRealToComplex(sign, int(n), a.data(), data);
    }
    if (!ok) raiseArgument("Invalid FFT size " + std::to_string(n) + " for a real transform");
    return out;
}

void bindTransforms(py::module_& m) {
    m.def(
        "fft",
        [](const PyImage& p, bool keepComplex) {
            return adopt(call(Failure::argument, "fft", [&] { return fft(*p.image, keepComplex); }));
        },
        py::arg("image"), py::arg("keep_complex") = false,
        "A new Fourier image of a real image: (real, imaginary) pairs with keep_complex, "
        "(amplitude, phase) pairs otherwise. Both sides must be valid transform lengths, nx even.");
    m.def(
        "ift",
        [](const PyImage& p, bool keepComplex) {
            return adopt(call(Failure::argument, "ift", [&] { return ift(*p.image, keepComplex); }));
        },
        py::arg("image"), py::arg("keep_complex") = false,
        "A new real image inverse-transformed from a Fourier image (normalised for amplitude/phase "
        "pairs, unscaled for real/imaginary pairs).");
    m.def(
        "ift_into",
        [](const PyImage& source, PyImage& destination) {
            callResizing(Failure::argument, "ift_into", destination,
                         [&] { return iftInto(*source.image, *destination.image); });
        },
        py::arg("source"), py::arg("destination"),
        "The unscaled inverse transform of a real/imaginary Fourier image into destination (resized).");
    m.def(
        "pad_with_noise",
        [](PyImage& p, int nx, int ny, bool noise) {
            callResizing(Failure::argument, "pad_with_noise", p,
                         [&] { return padWithNoise(*p.image, noise, nx, ny); });
        },
        py::arg("image"), py::arg("nx"), py::arg("ny"), py::arg("noise") = true,
        "Pads the image in place to nx x ny, the picture centred, the border Gaussian noise of the "
        "image's mean and sigma (or the mean when noise is false).");
    m.def(
        "pad_with_noise_at",
        [](PyImage& p, int nx, int ny, int left, int below, bool noise) {
            callResizing(Failure::argument, "pad_with_noise_at", p,
                         [&] { return padWithNoiseAt(*p.image, noise, nx, ny, left, below); });
        },
        py::arg("image"), py::arg("nx"), py::arg("ny"), py::arg("left"), py::arg("below"),
        py::arg("noise") = true,
        "Pads as pad_with_noise with left columns and below rows before the picture.");
    m.def("fft_complex", &complexTransform, py::arg("z"), py::arg("sign") = 1,
          "A transformed copy of a 1-D complex array (kernel exp(sign 2 pi i jk/n), unscaled).");
    m.def("fft_real", &realTransform, py::arg("a"), py::arg("sign") = 1,
          "The n/2 + 1 coefficients of a 1-D real array of even valid length n (unscaled).");
}

void bindSizesAndRandom(py::module_& m) {
    m.def(
        "is_fft_size", [](long long n) { return isFftSize(n); }, py::arg("n"),
        "Whether n is a valid transform length (a divisor of 720720).");
    m.def("fft_accepts_size", &fftAcceptsSize, py::arg("nx"), py::arg("ny"),
          "Whether fft accepts a real image of nx x ny.");
    m.def("fft_size_at_least", &fftSizeAtLeast, py::arg("n"), "The smallest valid length of at least n.");
    m.def("fft_cheapest_size", &fftCheapestSize, py::arg("nmin"), py::arg("nmax"),
          "The valid length of lowest cost from nmin to nmax.");
    m.def("real_fft_size_at_least", &realFftSizeAtLeast, py::arg("n"),
          "An even length of at least n whose half is valid.");
    m.def("uniform_random", &uniformRandom, py::arg("lo"), py::arg("hi"),
          "A float from lo to hi from the calling thread's generator.");
    m.def("gaussian_random", &gaussianRandom, py::arg("mean"), py::arg("sigma"),
          "A normally distributed float from the calling thread's generator.");
    m.def("seed_random", &seedRandomForTests, py::arg("seed"),
          "Seeds the calling thread's generator, for a known sequence.");
}

}  // namespace

void bindFourier(py::module_& m) {
    bindTransforms(m);
    bindSizesAndRandom(m);
}

}  // namespace tarnview::python
