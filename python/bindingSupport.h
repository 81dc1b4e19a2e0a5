#pragma once
// What the binding files share: the Python Image (an Image with a count of the numpy
// arrays alive over its samples), calls into the library that release the GIL and
// capture its messages, and the errors the binding raises.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <memory>
#include <string>
#include <utility>

#include "image/Image.h"
#include "image/messageSink.h"

namespace tarnview::python {

namespace py = pybind11;

/// An Image as Python holds it. views counts the numpy arrays over its samples: an
/// operation that may resize the image is refused while any is alive, and no array is
/// handed out while such an operation runs (in another thread, without the GIL).
struct PyImage {
    std::unique_ptr<Image> image;
    int views = 0;
    bool resizing = false;

    PyImage() : image(std::make_unique<Image>()) {}
    explicit PyImage(std::unique_ptr<Image> owned) : image(std::move(owned)) {}
    explicit PyImage(Image* owned) : image(owned) {}
};

/// What a failed call was about: a file (the error is an OSError) or its arguments (a
/// ValueError).
enum class Failure { file, argument };

/// Creates the error classes in module m: Error, FileError (Error and OSError),
/// ArgumentError (Error and ValueError).
void addErrorClasses(py::module_& m);

/// Raises the error of kind with the library's text (its last line end removed), or with
/// "<operation> failed" when the library said nothing.
[[noreturn]] void raiseFailure(Failure kind, const std::string& text, const char* operation);

/// Raises ArgumentError with text.
[[noreturn]] void raiseArgument(const std::string& text);

/// Sends the messages of a successful call, line by line, to the logger "tarnview": lines
/// starting "WARNING" at level WARNING, the others at INFO.
void logMessages(const std::string& text);

/// Raises BufferError when numpy arrays over image's samples are alive: operation may
/// resize the image and would leave them dangling.
void requireNoViews(const PyImage& image, const char* operation);

/// A numpy array over image's samples (no copy) that keeps image alive: float32 of shape
/// (ny, nx) for one section or (nz, ny, nx), complex64 with nx / 2 columns for a Fourier
/// image of (real, imaginary) pairs.
py::array viewOf(py::object owner);

/// Runs f without the GIL, the library's messages captured. A result that converts to
/// false (0, null) raises the error of kind with the messages; otherwise the messages go
/// to the log and the result is returned.
template <class F>
auto call(Failure kind, const char* operation, F&& f) {
    MessageCapture capture;
    decltype(f()) result{};
    {
        py::gil_scoped_release release;
        result = f();
    }
    std::string text = capture.take();
    if (!result) raiseFailure(kind, text, operation);
    logMessages(text);
    return result;
}

/// Runs f, which reports no failure through its result, without the GIL; its messages go
/// to the log.
template <class F>
void callLogged(F&& f) {
    MessageCapture capture;
    {
        py::gil_scoped_release release;
        f();
    }
    logMessages(capture.take());
}

/// For an operation that reports failure only in its messages: when refused (a check the
/// caller made beforehand) runs f to get its message and raises ArgumentError with it;
/// otherwise runs it as callLogged.
template <class F>
void callUnlessRefused(bool refused, F&& f) {
    if (!refused) return callLogged(std::forward<F>(f));
    MessageCapture capture;
    f();
    raiseArgument(capture.take());
}

/// As call, for an operation that may resize image: refused while views are alive, and
/// no view is handed out while it runs.
template <class F>
auto callResizing(Failure kind, const char* operation, PyImage& image, F&& f) {
    requireNoViews(image, operation);
    image.resizing = true;
    struct Done {
        PyImage& image;
        ~Done() { image.resizing = false; }
    } done{image};
    return call(kind, operation, std::forward<F>(f));
}

/// A new Python Image owning result (non-null).
inline py::object adopt(Image* result) {
    return py::cast(PyImage(result));
}

// The four binding files, one per library folder.
void bindImage(py::module_& m);
void bindFormats(py::module_& m);
void bindFourier(py::module_& m);
void bindAnalysis(py::module_& m);

}  // namespace tarnview::python
