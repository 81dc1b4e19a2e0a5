// Entry point of the tarnview converter.
int main() { return 1; }
