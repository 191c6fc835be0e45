#ifndef ORVALLE_PEAK_MEMORY_H
#define ORVALLE_PEAK_MEMORY_H

// Measures how far the process's peak resident memory rises above its resident memory at
// construction: the kernel's peak (VmHWM) is reset first, so earlier peaks do not count.
class PeakMemory {
  public:
    PeakMemory();

    // Peak resident kilobytes since construction minus the resident kilobytes at construction.
    long growthKb() const;

    // False in sanitizer builds, whose shadow memory and freed-block quarantine make resident
    // memory say little about the program's own use.
    static bool isMeaningful();

  private:
    static long statusKb(const char* field);

    long startKb;
};

#endif
