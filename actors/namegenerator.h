#ifndef QUELLARIS_ACTORS_NAMEGENERATOR_H
#define QUELLARIS_ACTORS_NAMEGENERATOR_H

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

// Makes up chaser names that sound like the words of a text file: it counts which
// character follows each run of `order` characters (a token), then walks those counts
// at random from the start of a word to its end.
class NameGenerator {
public:
    // Also seeds the game's random numbers with the time of day. Throws std::runtime_error
    // "NameGenerator::buildStats - cannot open requested source file" when the file is not
    // there, cannot be read, is larger than 1 MiB or is neither a regular file nor a folder
    // (which reads as an empty file), after one line on standard error with its name and why.
    // Never waits on a named pipe in its place.
    NameGenerator(const std::string& sourceFile, int order);

    void buildStats(std::istream& stream);
    void rebuildStartingTokensList();

    // A random integer in lo..hi.
    int randi(int lo, int hi) const;

    // "Error" when the file gave no word starts.
    std::string generate() const;
    // A name of min to max characters. When the statistics cannot make one: the start of a
    // longer name, else "Error" repeated or cut to fit (as it is when min > max).
    std::string generate(int minLength, int maxLength) const;

    void printStats() const;

    const std::map<std::string, std::map<char, unsigned int> >& stats() const { return _stats; }
    const std::map<std::string, unsigned int>& tokenCounts() const { return _tokenCounts; }
    const std::vector<std::string>& startTokens() const { return _startTokens; }
    const std::string& sourceFile() const { return _sourceFile; }
    int order() const { return _order; }

private:
    std::map<std::string, std::map<char, unsigned int> > _stats;
    std::map<std::string, unsigned int> _tokenCounts;
    std::vector<std::string> _startTokens;
    std::string _sourceFile;
    int _order;
};

#endif
