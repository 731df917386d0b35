# Writes OUT, a source file telling when the executable was built, as the compiler's
# __DATE__ and __TIME__ would ("Nov  9 2022", "14:31:04"). Run just before each link.
string(TIMESTAMP month "%b")
string(TIMESTAMP day "%d")
string(TIMESTAMP year "%Y")
string(TIMESTAMP clock "%H:%M:%S")
string(REGEX REPLACE "^0" " " day "${day}")
file(WRITE "${OUT}.tmp" "#include \"app/VersionText.h\"\n\nnamespace orvane {\n\n"
     "BuildStamp ExecutableBuildStamp() {\n"
     "    return {\"${month} ${day} ${year}\", \"${clock}\"};\n}\n\n} // namespace orvane\n")
file(RENAME "${OUT}.tmp" "${OUT}")
