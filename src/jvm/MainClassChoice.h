// Where the main class of a launch comes from, in the java command's order of precedence.
#pragma once

enum class MainClassOrigin {
    setting,  // "Main Class": as java -cp with a class, it wins over a module
    module,   // the class of "Main Module", looked up in the VM's boot layer, as java -m
    manifest, // the Main-Class of the application's jar, as java -jar
    none,
};

// `jarAvailable`: "Main Jar" names a jar (or one is appended to the launcher) whose manifest
// could name the class.
[[nodiscard]] MainClassOrigin mainClassOrigin(bool mainClassSet, bool mainModuleSet,
                                              bool jarAvailable);
