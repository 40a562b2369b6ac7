#include "tanu_app.h"

int main(int argc, char** argv) {
    return tanu::qt::runTanu(argc, argv);
}
