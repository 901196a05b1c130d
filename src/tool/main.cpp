// y4tool: checks, describes and re-saves model files from the command line.
int main() { return 0; }
