// Entry point of the tarnview converter.
#include "app/converter.h"

int main(int argc, char** argv) {
    return tarnview::runConverter(argc, argv);
}
