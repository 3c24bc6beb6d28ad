// Prints what java.util.jar.JarFile takes from each jar named on standard input, one path a
// line: the reference that jar_corpus_reader.cpp is compared with (check-corpus.py).
import java.io.BufferedReader;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.util.jar.Attributes;
import java.util.jar.JarFile;
import java.util.jar.Manifest;

public class JarAttributes {
    private static final String[] ATTRIBUTES = {"Main-Class", "Add-Opens", "Add-Exports",
        "Enable-Native-Access", "Launcher-Agent-Class", "SplashScreen-Image"};

    // Printable ASCII as it is, every other UTF-16 unit (and the backslash) as \\uXXXX.
    private static String escaped(String value) {
        StringBuilder text = new StringBuilder();
        for (char unit : value.toCharArray()) {
            if (unit >= 0x20 && unit < 0x7F && unit != '\\')
                text.append(unit);
            else
                text.append(String.format("\\u%04X", (int) unit));
        }
        return text.toString();
    }

    private static String describe(String path) {
        // Not verified: the launcher does not check signatures either, and verification would
        // only add work.
        try (JarFile jar = new JarFile(path, false)) {
            Manifest manifest = jar.getManifest();
            if (manifest == null)
                return "no-manifest\n";
            Attributes main = manifest.getMainAttributes();
            StringBuilder text = new StringBuilder("manifest\n");
            for (String name : ATTRIBUTES) {
                String value = main.getValue(name);
                if (value != null)
                    text.append(name).append(": ").append(escaped(value)).append('\n');
            }
            return text.toString();
        } catch (java.nio.file.NoSuchFileException | java.io.FileNotFoundException e) {
            return "unreadable\n";
        } catch (Exception e) {
            return "damaged\n";
        }
    }

    public static void main(String[] args) throws Exception {
        BufferedReader paths =
            new BufferedReader(new InputStreamReader(System.in, StandardCharsets.UTF_8));
        StringBuilder out = new StringBuilder();
        for (String path; (path = paths.readLine()) != null;)
            out.append("jar ").append(path).append('\n').append(describe(path));
        System.out.print(out);
    }
}
