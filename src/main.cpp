#include "app/CQuilletApp.h"

int main(int argc, char** argv) { return quillet::CQuilletApp::Run(argc, argv); }
