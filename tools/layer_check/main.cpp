// The entry of the layer link checks: each links one whole layer of the
// program against the layers beneath it and is never run.
int main() { return 0; }
