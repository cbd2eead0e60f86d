// Entry point; filled in by the platform bring-up.
int main() { return 0; }
