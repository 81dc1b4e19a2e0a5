#include "bindingSupport.h"

#include <Python.h>

#include <complex>
#include <vector>

namespace tarnview::python {

namespace {

// The error classes, created once by addErrorClasses and kept for the process's life.
PyObject* errorClass = nullptr;
PyObject* fileErrorClass = nullptr;
PyObject* argumentErrorClass = nullptr;

std::string withoutLastLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// Keeps its image alive and counted as viewed while a numpy array stands on it.
struct ViewGuard {
    py::object owner;
    PyImage* image;
};

}  // namespace

void addErrorClasses(py::module_& m) {
    errorClass = PyErr_NewExceptionWithDoc("tarnview.Error",
                                           "A failed tarnview call; its text is the library's message.",
                                           PyExc_Exception, nullptr);
    py::tuple fileBases = py::make_tuple(py::handle(errorClass), py::handle(PyExc_OSError));
    fileErrorClass = PyErr_NewExceptionWithDoc("tarnview.FileError", "A file could not be read or written.",
                                               fileBases.ptr(), nullptr);
    py::tuple argumentBases = py::make_tuple(py::handle(errorClass), py::handle(PyExc_ValueError));
    argumentErrorClass =
        PyErr_NewExceptionWithDoc("tarnview.ArgumentError", "An operation refused its images or arguments.",
                                  argumentBases.ptr(), nullptr);
    m.attr("Error") = py::handle(errorClass);
    m.attr("FileError") = py::handle(fileErrorClass);
    m.attr("ArgumentError") = py::handle(argumentErrorClass);
}

void raiseFailure(Failure kind, const std::string& text, const char* operation) {
    std::string message = withoutLastLineEnd(text);
    if (message.empty()) message = std::string(operation) + " failed";
    PyErr_SetString(kind == Failure::file ? fileErrorClass : argumentErrorClass, message.c_str());
    throw py::error_already_set();
}

void raiseArgument(const std::string& text) {
    raiseFailure(Failure::argument, text, "");
}

void logMessages(const std::string& text) {
    if (text.empty()) return;
    py::object logger = py::module_::import("logging").attr("getLogger")("tarnview");
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty()) continue;
        logger.attr(line.rfind("WARNING", 0) == 0 ? "warning" : "info")(line);
    }
}

void requireNoViews(const PyImage& image, const char* operation) {
    if (image.views == 0 && !image.resizing) return;
    PyErr_Format(PyExc_BufferError, "%s would resize an image whose data is exported to %d numpy array(s)",
                 operation, image.views);
    throw py::error_already_set();
}

py::array viewOf(py::object owner) {
    PyImage& held = owner.cast<PyImage&>();
    if (held.resizing) {
        PyErr_SetString(PyExc_BufferError, "the image is being resized by another thread");
        throw py::error_already_set();
    }
    Image& image = *held.image;
    const py::ssize_t nx = image.getNx(), ny = image.getNy(), nz = image.getNz();
    const bool pairs = image.isComplex() && (image.getFlags() & realImagFlag) && nx % 2 == 0;
    auto* guard = new ViewGuard{owner, &held};
    held.views++;
    py::capsule base(guard, [](void* p) {
        auto* g = static_cast<ViewGuard*>(p);
        g->image->views--;
        delete g;
    });
    std::vector<py::ssize_t> shape;
    if (nz > 1) shape.push_back(nz);
    shape.push_back(ny);
    shape.push_back(pairs ? nx / 2 : nx);
    if (pairs)
        return py::array_t<std::complex<float>>(
            shape, reinterpret_cast<std::complex<float>*>(image.getData()), base);
    return py::array_t<float>(shape, image.getData(), base);
}

}  // namespace tarnview::python
