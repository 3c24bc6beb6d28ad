package app;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.nio.file.StandardOpenOption;

// What the test classes did, appended as one line per event to the file named by QOVA_RECORD:
// the event and its values, separated by tabs.
public final class Record {
    private Record() {}

    public static synchronized void line(String event, String... values) {
        StringBuilder text = new StringBuilder(event);
        for (String value : values)
            text.append('\t').append(value);
        text.append('\n');
        try {
            Files.write(Paths.get(System.getenv("QOVA_RECORD")),
                        text.toString().getBytes(StandardCharsets.UTF_8),
                        StandardOpenOption.CREATE, StandardOpenOption.APPEND);
        } catch (IOException e) {
            throw new IllegalStateException(e);
        }
    }

    // The event with the class's name, then the arguments.
    public static void call(String event, Class<?> owner, String[] arguments) {
        String[] values = new String[arguments.length + 1];
        values[0] = owner.getName();
        System.arraycopy(arguments, 0, values, 1, arguments.length);
        line(event, values);
    }
}
